// The way of summing with AVX-512: two pixels to a vector, their source
// pixels looked up 64 taps at a time by byte permutations (VBMI). Only the
// functions below are compiled for AVX-512, by attribute, not the whole
// file: compiled for it, the file's copies of the library's inline
// functions (std::vector's) would be too, and the linker may keep those for
// the other ways, which run where AVX-512 does not.

#include <algorithm>

#include "render/resample_average.h"

#ifdef TESSALINE_RESAMPLE_X86

namespace resample {
namespace {

// Two pixels to a vector: 32 columns, 16 vectors of sums, in 64-bit code,
// which has 32 vector registers; 8 columns in 32-bit code, which has 8.
// (32 columns measured some 10% faster than 16.)
#if defined(__x86_64__)
constexpr uint32_t kWideGroup = 32;
#else
constexpr uint32_t kWideGroup = 8;
#endif

#define TESSALINE_AVX512 __attribute__((target("avx512f,avx512vl")))
#define TESSALINE_VBMI __attribute__((target("avx512f,avx512bw,avx512vbmi")))
// GCC's own AVX-512 conversions and extensions start from a deliberately
// undefined vector, which it then warns of as uninitialised.
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

// Two pixels side by side in one vector, in single precision between
// additions as with AVX: half the conversions and additions per pixel.
class Avx512PairSums {
public:
    TESSALINE_AVX512 Avx512PairSums() : sums(_mm256_setzero_ps()) {}
    TESSALINE_AVX512 void Add(const Entry& first, const double* firstWeight, const Entry& second,
                              const double* secondWeight) {
        sums = _mm512_cvtpd_ps(
            _mm512_add_pd(_mm512_cvtps_pd(sums), Products(first, firstWeight, second, secondWeight)));
    }
    // The first contribution added to sums of 0 is itself, only rounded:
    // one conversion instead of three steps.
    TESSALINE_AVX512 void Start(const Entry& first, const double* firstWeight, const Entry& second,
                                const double* secondWeight) {
        sums = _mm512_cvtpd_ps(Products(first, firstWeight, second, secondWeight));
    }
    // Each pixel at its column of the row `out`.
    TESSALINE_AVX512 void Store(uint32_t* out, const int32_t* columns) const {
        // Sums of 255 and more become 255, the others lose their fraction.
        const __m128i bytes = _mm256_cvtepi32_epi8(_mm256_cvttps_epi32(_mm256_min_ps(sums, _mm256_set1_ps(255.0f))));
        out[columns[0]] = static_cast<uint32_t>(_mm_cvtsi128_si32(bytes));
        out[columns[1]] = static_cast<uint32_t>(_mm_extract_epi32(bytes, 1));
    }
    // These two pixels and the `next` two at out[0] to out[3].
    TESSALINE_AVX512 void StoreFour(const Avx512PairSums& next, uint32_t* out) const {
        const __m512 four = _mm512_castpd_ps(
            _mm512_insertf64x4(_mm512_castpd256_pd512(_mm256_castps_pd(sums)), _mm256_castps_pd(next.sums), 1));
        const __m128i bytes = _mm512_cvtepi32_epi8(_mm512_cvttps_epi32(_mm512_min_ps(four, _mm512_set1_ps(255.0f))));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), bytes);
    }

private:
    TESSALINE_AVX512 static __m512d Products(const Entry& first, const double* firstWeight, const Entry& second,
                                             const double* secondWeight) {
        const __m256d a = _mm256_mul_pd(_mm256_loadu_pd(first.channel), _mm256_broadcast_sd(firstWeight));
        const __m256d b = _mm256_mul_pd(_mm256_loadu_pd(second.channel), _mm256_broadcast_sd(secondWeight));
        return _mm512_insertf64x4(_mm512_castpd256_pd512(a), b, 1);
    }

    __m256 sums;  // blue, green, red, 0 of the first pixel, then of the second
};

struct TwoPixels {
    static constexpr uint32_t kPixels = 2;
    template <class Taps>
    void Add(const Entry* table, const Taps& taps) {
        sums.Add(ColorAt(table, taps, 0), taps.weight, ColorAt(table, taps, 1), taps.weight + 1);
    }
    template <class Taps>
    void Start(const Entry* table, const Taps& taps) {
        sums.Start(ColorAt(table, taps, 0), taps.weight, ColorAt(table, taps, 1), taps.weight + 1);
    }
    void Store(uint32_t* out, const int32_t* columns) const { sums.Store(out, columns); }
    void StoreRun(const TwoPixels& next, uint32_t* out) const { sums.StoreFour(next.sums, out); }
    Avx512PairSums sums;
};

// The taps of a group's lanes (as ColumnTaps) with each tap's colour-table
// offset in a row of its own (SlotRows).
struct SlotTaps {
    const uint16_t* slot;
    const double* weight;
    uint32_t Offset(uint32_t lane) const { return slot[lane]; }
    SlotTaps operator+(uint32_t lanes) const { return SlotTaps{slot + lanes, weight + lanes}; }
};

// Source rows as this way reads them: for each tap, in the order of
// plan.tapColumns, the byte offset of its pixel's colour-table entry, so
// that a contribution finds its colour with one load, in order. Kept in
// places as IndexedRows keeps its rows. The pixels are looked up 64 taps at
// a time, by byte permutations out of the 256 pixels from the first column
// they read; taps whose columns lie further apart look them up one by one.
template <int kBits>
class SlotRows {
public:
    SlotRows(const Plan& plan, uint32_t places)
        : plan(plan),
          length(plan.tapColumns.size() + 64),
          places(places),
          held(places, -1),
          slots(length * places),
          indices(static_cast<size_t>(plan.sourceWidth) + 256) {}
    static SlotTaps TapsAt(const Plan& plan, const uint16_t* row, uint32_t begin) {
        return SlotTaps{row + begin, plan.tapWeights.data() + begin};
    }
    TESSALINE_VBMI const uint16_t* For(const RowTap& row) {
        const uint32_t place = static_cast<uint32_t>(row.stored) % places;
        uint16_t* out = slots.data() + place * length;
        if (held[place] != row.stored) {
            held[place] = row.stored;
            Fill(row.row, out);
        }
        return out;
    }

private:
    static constexpr uint16_t kEntry = sizeof(Entry);

    TESSALINE_VBMI static __m512i Load(const uint8_t* bytes) {
        return _mm512_loadu_si512(reinterpret_cast<const void*>(bytes));
    }

    TESSALINE_VBMI void Fill(const uint8_t* row, uint16_t* out) {
        // The row's indices, a byte each, followed by room for the last
        // window to be read whole.
        const size_t width = static_cast<size_t>(plan.sourceWidth);
        if (kBits == 8) {
            std::copy(row, row + width, indices.begin());
        } else {
            // 32 pixels from 16 bytes at a time; the even pixel is the high
            // nibble.
            size_t x = 0;
            const __m128i nibble = _mm_set1_epi8(0x0F);
            for (; x + 32 <= width; x += 32) {
                const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x / 2));
                const __m128i high = _mm_and_si128(_mm_srli_epi16(bytes, 4), nibble);
                const __m128i low = _mm_and_si128(bytes, nibble);
                _mm_storeu_si128(reinterpret_cast<__m128i*>(indices.data() + x), _mm_unpacklo_epi8(high, low));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(indices.data() + x + 16), _mm_unpackhi_epi8(high, low));
            }
            for (; x < width; ++x) {
                indices[x] = static_cast<uint8_t>((x % 2 != 0 ? row[x / 2] : row[x / 2] >> 4) & 0x0F);
            }
        }
        const size_t taps = plan.tapColumns.size();
        for (size_t chunk = 0; chunk < plan.chunkWindow.size(); ++chunk) {
            const size_t s = chunk * 64;
            const int32_t window = plan.chunkWindow[chunk];
            if (window < 0) {
                for (size_t tap = s; tap < std::min(s + 64, taps); ++tap) {
                    out[tap] = static_cast<uint16_t>(indices[plan.tapColumns[tap]] * kEntry);
                }
                continue;
            }
            // The 64 taps' pixels out of the 128 from the window's first, or,
            // for those whose place has its top bit set, the next 128; the
            // last chunk's spare places fill the room beyond the end.
            const __m512i within = Load(plan.tapWithin.data() + s);
            const uint8_t* pixels = indices.data() + window;
            __m512i picked = _mm512_permutex2var_epi8(Load(pixels), within, Load(pixels + 64));
            if (plan.chunkWide[chunk] != 0) {
                const __m512i next = _mm512_permutex2var_epi8(Load(pixels + 128), within, Load(pixels + 192));
                picked = _mm512_mask_blend_epi8(_mm512_movepi8_mask(within), picked, next);
            }
            __m512i* to = reinterpret_cast<__m512i*>(out + s);
            _mm512_storeu_si512(to, _mm512_slli_epi16(_mm512_cvtepu8_epi16(_mm512_castsi512_si256(picked)), 5));
            _mm512_storeu_si512(to + 1,
                                _mm512_slli_epi16(_mm512_cvtepu8_epi16(_mm512_extracti64x4_epi64(picked, 1)), 5));
        }
    }

    const Plan& plan;
    size_t length;
    uint32_t places;
    std::vector<int32_t> held;  // the row in each place, -1 for none
    std::vector<uint16_t> slots;
    std::vector<uint8_t> indices;  // the row's pixels' indices, a byte each
};

#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif

// The averaging, compiled for AVX-512 with everything it calls inlined.
template <int kBits>
__attribute__((target("avx512f,avx512vl,avx512bw,avx512vbmi"), flatten)) void AverageAvx512(
    const Plan& plan, const Entry* palette, int32_t width, int32_t first, int32_t end, uint32_t* destination) {
    Average<kBits, TwoPixels, kWideGroup, SlotRows<kBits>>(plan, palette, width, first, end, destination);
}

}  // namespace

const SummingWay kAvx512Summing{kWideGroup, AverageAvx512<8>, AverageAvx512<4>};

}  // namespace resample

#endif
