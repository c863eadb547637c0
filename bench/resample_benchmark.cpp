// The resampler on full-HD and 4K pictures of 8 and 4 bits per pixel at the
// factors a menu meets, and the same algorithm worked out pixel by pixel as
// the baseline. Case names: resample/<width>x<height>/<bits>bit/<factor>.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "pictures.h"
#include "render/resample.h"
#include "support/literal_resample.h"

namespace {

const bench::Picture& PictureOf(int32_t width, int32_t height, int32_t bits) {
    static std::map<std::pair<int32_t, int32_t>, bench::Picture> pictures;
    auto found = pictures.find({width, bits});
    if (found == pictures.end()) {
        found = pictures.emplace(std::make_pair(width, bits), bench::MakePicture(width, height, bits)).first;
    }
    return found->second;
}

struct Case {
    int32_t width;
    int32_t height;
    int32_t bits;
    const char* factorText;
    float factor;
};

// Into a destination held by the caller, as the menu resamples into the
// pixels of the picture it has created.
void Resample(benchmark::State& state, Case c) {
    const SourcePicture source = PictureOf(c.width, c.height, c.bits).Source();
    Size size{};
    if (!ResampledSize(source.width, source.height, c.factor, c.factor, &size)) {
        state.SkipWithError("no picture at this factor");
        return;
    }
    std::vector<uint32_t> destination(static_cast<size_t>(size.width) * static_cast<size_t>(size.height));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ResampleAreaAverageInto(source, c.factor, c.factor, size, destination.data()));
        benchmark::ClobberMemory();
    }
}

void ResamplePixelByPixel(benchmark::State& state, Case c) {
    const SourcePicture source = PictureOf(c.width, c.height, c.bits).Source();
    for (auto _ : state) {
        ResampledPicture out = literal::Resample(source, c.factor, c.factor);
        benchmark::DoNotOptimize(out.pixels.data());
    }
}

std::string NameOf(const char* prefix, const Case& c) {
    char name[96];
    std::snprintf(name, sizeof name, "%s/%dx%d/%dbit/%s", prefix, c.width, c.height, c.bits, c.factorText);
    return name;
}

}  // namespace

int main(int argc, char** argv) {
    const Case sizes[] = {
        {1920, 1080, 8, "", 0}, {1920, 1080, 4, "", 0}, {3840, 2160, 8, "", 0}, {3840, 2160, 4, "", 0}};
    const std::pair<const char*, float> factors[] = {{"0.75", 0.75f}, {"0.5", 0.5f}, {"0.33", 0.33f}};
    for (Case c : sizes) {
        for (const auto& factor : factors) {
            c.factorText = factor.first;
            c.factor = factor.second;
            benchmark::RegisterBenchmark(NameOf("resample", c).c_str(), Resample, c)->Unit(benchmark::kMillisecond);
        }
    }
    for (const auto& factor : factors) {
        const Case c{1920, 1080, 8, factor.first, factor.second};
        benchmark::RegisterBenchmark(NameOf("resample-pixel-by-pixel", c).c_str(), ResamplePixelByPixel, c)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
