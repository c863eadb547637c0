// The resampler's costs beside its timing against its peers (resample_timer):
// where a second thread starts to pay, the arithmetic alone, and the same
// algorithm worked out pixel by pixel as the baseline. Case names:
//   resample-break-even/<width>x<height>/<threads>         pictures at 0.75 on 1 and
//                                                          2 threads: where a second
//                                                          thread starts to pay
//   resample-arithmetic/1920x1080/8bit/0.75                the products, additions and
//                                                          roundings of that case alone,
//                                                          without reading a pixel
//   resample-additions/1920x1080/8bit/0.75                 its additions and roundings
//                                                          alone
//   resample-pixel-by-pixel/1920x1080/8bit/<factor>        the baseline
#include <benchmark/benchmark.h>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "render/resample.h"
#include "render/resample_threads.h"
#include "resample_cases.h"
#include "support/literal_resample.h"

namespace {

struct Case {
    bench::PictureShape shape;
    bench::ResampleFactor factor;
};

// Into a destination held by the caller, as the menu resamples into the
// pixels of the picture it has created, the rows shared among `threads`
// threads (1: the calling thread alone), started for each picture as the
// menu starts them.
void Resample(benchmark::State& state, Case c, uint32_t threads) {
    const SourcePicture source = bench::PictureOf(c.shape).Source();
    Size size{};
    if (!ResampledSize(source.width, source.height, c.factor.value, c.factor.value, &size)) {
        state.SkipWithError("no picture at this factor");
        return;
    }
    std::vector<uint32_t> destination(static_cast<size_t>(size.width) * static_cast<size_t>(size.height));
    for (auto _ : state) {
        const ResampleRows rows(source, c.factor.value, c.factor.value, size, destination.data(),
                                WidestResampleInstructions());
        benchmark::DoNotOptimize(RunResampleRows(rows, threads));
        benchmark::ClobberMemory();
    }
    state.counters["threads"] = threads;
}

#if defined(__x86_64__) && defined(__GNUC__)
// The arithmetic the resampler must do for `contributions` products and
// nothing else, as the AVX-512 way does it: two pixels to a vector, 32 sums
// side by side; each step forms two pixels' products in double precision
// (colour times weight, a multiplication each), puts them side by side,
// adds them to their sums and rounds the sums to single precision. Colours
// and weights stay in registers, hidden from the compiler at each step so
// that it forms every product anew. kProducts false: the additions and
// roundings alone, of one product formed once. What is left of the
// resampler's time beyond this goes to finding each product's colour and
// weight, and to storing the pixels.
// (GCC's AVX-512 conversions and insertions start from a deliberately
// undefined vector, which it then warns of as uninitialised.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
template <bool kProducts>
__attribute__((target("avx512f,avx512vl"), noinline)) float SumOnly(uint64_t contributions) {
    __m256 sums[16];
    for (__m256& sum : sums) sum = _mm256_setzero_ps();
    __m256d first = _mm256_set_pd(0, 201, 97, 13);
    __m256d second = _mm256_set_pd(0, 180, 66, 240);
    const __m256d firstWeight = _mm256_set1_pd(0.31);
    const __m256d secondWeight = _mm256_set1_pd(0.17);
    const __m512d product = _mm512_insertf64x4(_mm512_castpd256_pd512(_mm256_mul_pd(first, firstWeight)),
                                               _mm256_mul_pd(second, secondWeight), 1);
    for (uint64_t step = 0; step < contributions / 32; ++step) {
        for (__m256& sum : sums) {
            __m512d products = product;
            if (kProducts) {
                asm volatile("" : "+v"(first), "+v"(second));
                products = _mm512_insertf64x4(_mm512_castpd256_pd512(_mm256_mul_pd(first, firstWeight)),
                                              _mm256_mul_pd(second, secondWeight), 1);
            }
            sum = _mm512_cvtpd_ps(_mm512_add_pd(_mm512_cvtps_pd(sum), products));
        }
    }
    float total = 0;
    for (const __m256& sum : sums) total += sum[0];
    return total;
}
#pragma GCC diagnostic pop

template <bool kProducts>
void ArithmeticAlone(benchmark::State& state, Case c) {
    if (!__builtin_cpu_supports("avx512f") || !__builtin_cpu_supports("avx512vl")) {
        state.SkipWithError("no AVX-512");
        return;
    }
    const SourcePicture source = bench::PictureOf(c.shape).Source();
    Size size{};
    ResampledSize(source.width, source.height, c.factor.value, c.factor.value, &size);
    std::vector<uint32_t> destination(static_cast<size_t>(size.width) * static_cast<size_t>(size.height));
    const ResampleRows rows(source, c.factor.value, c.factor.value, size, destination.data(),
                            ResampleInstructions::kAvx512);
    for (auto _ : state) benchmark::DoNotOptimize(SumOnly<kProducts>(rows.Contributions()));
}
#endif

void ResamplePixelByPixel(benchmark::State& state, Case c) {
    const SourcePicture source = bench::PictureOf(c.shape).Source();
    for (auto _ : state) {
        ResampledPicture out = literal::Resample(source, c.factor.value, c.factor.value);
        benchmark::DoNotOptimize(out.pixels.data());
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (const bench::PictureShape shape :
         {bench::PictureShape{640, 480, 8}, {1280, 720, 8}, {1920, 1080, 8}, {2560, 1440, 8}}) {
        const Case c{shape, {"0.75", 0.75f}};
        for (uint32_t threads : {1u, 2u}) {
            char name[64];
            std::snprintf(name, sizeof name, "resample-break-even/%dx%d/%u", shape.width, shape.height, threads);
            benchmark::RegisterBenchmark(name, Resample, c, threads)->Unit(benchmark::kMillisecond)->UseRealTime();
        }
    }
    for (const bench::ResampleFactor& factor : bench::kResampleFactors) {
        const Case c{{1920, 1080, 8}, factor};
#if defined(__x86_64__) && defined(__GNUC__)
        if (factor.value == 0.75f) {
            benchmark::RegisterBenchmark(bench::CaseName("resample-arithmetic", c.shape, c.factor).c_str(),
                                         ArithmeticAlone<true>, c)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(bench::CaseName("resample-additions", c.shape, c.factor).c_str(),
                                         ArithmeticAlone<false>, c)
                ->Unit(benchmark::kMillisecond);
        }
#endif
        benchmark::RegisterBenchmark(bench::CaseName("resample-pixel-by-pixel", c.shape, c.factor).c_str(),
                                     ResamplePixelByPixel, c)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
