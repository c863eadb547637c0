// The resampler on a full-HD 8-bit picture at the factors a menu meets, and
// the same algorithm worked out pixel by pixel as the baseline.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "render/resample.h"
#include "support/literal_resample.h"

namespace {

struct Picture {
    Picture() : rows(static_cast<size_t>(SourceStride(kWidth, 8)) * kHeight), table(256 * 4) {
        uint32_t seed = 7;
        for (size_t k = 0; k < rows.size(); ++k) {
            seed = seed * 1664525u + 1013904223u;
            rows[k] = static_cast<uint8_t>((k / 5) % 200 + (seed >> 28));
        }
        for (size_t k = 0; k < table.size(); ++k) table[k] = static_cast<uint8_t>(k * 7);
    }
    SourcePicture Source() const { return SourcePicture{kWidth, kHeight, 8, rows.data(), false, table.data(), 256}; }

    static constexpr int32_t kWidth = 1920;
    static constexpr int32_t kHeight = 1080;
    std::vector<uint8_t> rows;
    std::vector<uint8_t> table;
};

const Picture& FullHd() {
    static const Picture picture;
    return picture;
}

float FactorOf(const benchmark::State& state) {
    return static_cast<float>(state.range(0)) / 100.0f;
}

void Resample(benchmark::State& state) {
    const float factor = FactorOf(state);
    for (auto _ : state) {
        ResampledPicture out = ResampleAreaAverage(FullHd().Source(), factor, factor);
        benchmark::DoNotOptimize(out.pixels.data());
    }
}

void ResamplePixelByPixel(benchmark::State& state) {
    const float factor = FactorOf(state);
    for (auto _ : state) {
        ResampledPicture out = literal::Resample(FullHd().Source(), factor, factor);
        benchmark::DoNotOptimize(out.pixels.data());
    }
}

}  // namespace

BENCHMARK(Resample)->ArgName("factor%")->Arg(75)->Arg(50)->Arg(33)->Unit(benchmark::kMillisecond);
BENCHMARK(ResamplePixelByPixel)->ArgName("factor%")->Arg(75)->Arg(50)->Arg(33)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
