// The way of summing with SSE2, which every x86-64 processor has and the
// 32-bit build requires: each pixel's sums in two pairs of doubles.

#include "render/resample_average.h"

#ifdef TESSALINE_RESAMPLE_X86

namespace resample {
namespace {

class Sse2Sums {
public:
    void Add(const Entry& color, const double* weight) {
        const __m128d both = _mm_load1_pd(weight);
        blueGreen = _mm_cvtps_pd(_mm_cvtpd_ps(_mm_add_pd(blueGreen, _mm_mul_pd(_mm_loadu_pd(color.channel), both))));
        redNone = _mm_cvtps_pd(_mm_cvtpd_ps(_mm_add_pd(redNone, _mm_mul_pd(_mm_loadu_pd(color.channel + 2), both))));
    }
    uint32_t Pixel() const {
        // Sums of 255 and more become 255, the others lose their fraction.
        const __m128d most = _mm_set1_pd(255.0);
        return PackedPixel(_mm_unpacklo_epi64(_mm_cvttpd_epi32(_mm_min_pd(blueGreen, most)),
                                              _mm_cvttpd_epi32(_mm_min_pd(redNone, most))));
    }

private:
    __m128d blueGreen = _mm_setzero_pd();
    __m128d redNone = _mm_setzero_pd();
};

}  // namespace

const SummingWay kSse2Summing{kGroup, Average<8, OnePixel<Sse2Sums>, kGroup>, Average<4, OnePixel<Sse2Sums>, kGroup>};

}  // namespace resample

#endif
