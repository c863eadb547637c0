// The way of summing with AVX: each pixel's sums in one vector, where a
// conversion to single precision rounds every lane at once. Only the
// functions below are compiled for AVX, by attribute, not the whole file,
// for the reason resample_avx512.cpp gives.

#include "render/resample_average.h"

#ifdef TESSALINE_RESAMPLE_X86

namespace resample {
namespace {

#define TESSALINE_AVX __attribute__((target("avx")))
// Held in single precision between additions: each addition widens them,
// adds and rounds back, and the pixel is read from them as they stand.
class AvxSums {
public:
    TESSALINE_AVX AvxSums() : sums(_mm_setzero_ps()) {}
    TESSALINE_AVX void Add(const Entry& color, const double* weight) {
        const __m256d product = _mm256_mul_pd(_mm256_loadu_pd(color.channel), _mm256_broadcast_sd(weight));
        sums = _mm256_cvtpd_ps(_mm256_add_pd(_mm256_cvtps_pd(sums), product));
    }
    TESSALINE_AVX uint32_t Pixel() const {
        // Sums of 255 and more become 255, the others lose their fraction.
        return PackedPixel(_mm_cvttps_epi32(_mm_min_ps(sums, _mm_set1_ps(255.0f))));
    }

private:
    __m128 sums;  // blue, green, red, 0
};

// The averaging, compiled for AVX with everything it calls inlined.
template <int kBits>
__attribute__((target("avx"), flatten)) void AverageAvx(const Plan& plan, const Entry* palette, int32_t width,
                                                        int32_t first, int32_t end, uint32_t* destination) {
    Average<kBits, OnePixel<AvxSums>, kGroup>(plan, palette, width, first, end, destination);
}

}  // namespace

const SummingWay kAvxSumming{kGroup, AverageAvx<8>, AverageAvx<4>};

}  // namespace resample

#endif
