#include "render/resample_threads.h"

#include <algorithm>
#include <vector>

namespace {

struct Band {
    const ResampleRows* rows;
    int32_t first;
    int32_t end;
};

void RunBand(void* context) {
    const Band* band = static_cast<const Band*>(context);
    band->rows->Run(band->first, band->end);
}

}  // namespace

uint32_t ResampleThreadCount(uint64_t contributions, int32_t rows, uint32_t processors) {
    const uint64_t paying = contributions / kContributionsPerThread;
    const uint64_t most = std::min<uint64_t>(processors, rows > 0 ? static_cast<uint64_t>(rows) : 1);
    return static_cast<uint32_t>(std::max<uint64_t>(1, std::min(paying, most)));
}

uint32_t RunResampleRows(const ResampleRows& rows, uint32_t threads, ThreadStarter start) {
    const int64_t height = rows.Rows();
    threads = static_cast<uint32_t>(std::max<int64_t>(1, std::min<int64_t>(threads, height)));
    std::vector<Band> bands(threads);
    for (uint32_t b = 0; b < threads; ++b) {
        bands[b] = Band{&rows, static_cast<int32_t>(height * b / threads), static_cast<int32_t>(height * (b + 1) / threads)};
    }
    std::vector<platform::Thread> started(threads, nullptr);
    for (uint32_t b = 1; b < threads; ++b) started[b] = start(RunBand, &bands[b]);
    RunBand(&bands[0]);
    uint32_t ran = 1;
    for (uint32_t b = 1; b < threads; ++b) {
        if (started[b] == nullptr) {
            RunBand(&bands[b]);
        } else {
            platform::FinishThread(started[b]);
            ++ran;
        }
    }
    return ran;
}

bool ResampleOnCores(const SourcePicture& source, float horizontalFactor, float verticalFactor, Size size,
                     uint32_t* destination) {
    const ResampleRows rows(source, horizontalFactor, verticalFactor, size, destination, WidestResampleInstructions());
    if (!rows.Valid()) return false;
    RunResampleRows(rows, ResampleThreadCount(rows.Contributions(), rows.Rows(), platform::ProcessorCount()));
    return true;
}
