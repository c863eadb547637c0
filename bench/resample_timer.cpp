// The resampler timed one resampling at a time, for bench/resample_peers.py
// to interleave with its peers (the protocol: timer_requests.h). Built in
// every build; the Windows ones run under Wine.
//   resample_timer           answers requests on standard input
//   resample_timer --cases   lists the measured cases, one a line:
//                            WIDTH HEIGHT BITS FACTOR TO_WIDTH TO_HEIGHT
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "render/resample.h"
#include "render/resample_threads.h"
#include "resample_cases.h"
#include "timer_requests.h"

namespace {

// As the menu resamples: the spans and weights worked out, then the rows
// shared among the threads, into a destination allocated beforehand (the
// menu's is the picture it has created), which this timer keeps between
// requests.
std::string TimeResampler(const bench::TimeRequest& request, bench::Timing* timing) {
    const SourcePicture source = bench::PictureOf(request.shape).Source();
    Size size{};
    if (!ResampledSize(source.width, source.height, request.factor, request.factor, &size)) {
        return "no picture at this factor";
    }
    if (size.width != request.toWidth || size.height != request.toHeight) {
        return "the resampler makes " + std::to_string(size.width) + "x" + std::to_string(size.height);
    }
    static std::vector<uint32_t> destination;
    destination.resize(static_cast<size_t>(size.width) * static_cast<size_t>(size.height));
    *timing = bench::TimeOf([&] {
        const ResampleRows rows(source, request.factor, request.factor, size, destination.data(),
                                WidestResampleInstructions());
        RunResampleRows(rows, request.threads);
    });
    return {};
}

void ListCases() {
    for (const bench::PictureShape& shape : bench::kPictureShapes) {
        for (const bench::ResampleFactor& factor : bench::kResampleFactors) {
            Size size{};
            if (ResampledSize(shape.width, shape.height, factor.value, factor.value, &size)) {
                std::printf("%d %d %d %s %d %d\n", shape.width, shape.height, shape.bits, factor.text, size.width,
                            size.height);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--cases") == 0) {
        ListCases();
        return 0;
    }
    if (argc != 1) {
        std::fprintf(stderr, "usage: resample_timer [--cases]\n");
        return 2;
    }
    return bench::ServeTimeRequests(TimeResampler);
}
