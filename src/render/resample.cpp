#include "render/resample.h"

#include <algorithm>
#include <memory>
#include <utility>

#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TESSALINE_RESAMPLE_X86 1
#endif

// Every value below is formed in double precision and rounded to single
// precision where it is stored (reciprocals, span ends, weights, sums after
// each addition), so that each build, whatever its floating-point unit,
// produces the same pixels.

namespace {

// Pictures larger than this many pixels (2 GiB at 4 bytes each) are refused.
constexpr double kMaxPixels = 0x1FFFFFFF;

// One source row or column inside a destination pixel's span, with the
// share of it that lies inside.
struct Tap {
    int32_t index;
    float weight;
};

// The source indices and weights of every destination column (or row):
// taps[begin[d]] up to taps[begin[d + 1]] serve destination index d. They
// depend on the index alone, so they are worked out once per picture.
struct Spans {
    std::vector<uint32_t> begin;
    std::vector<Tap> taps;
};

Spans ComputeSpans(int32_t destinationLength, int32_t sourceLength, float factor) {
    const float inverse = static_cast<float>(1.0 / static_cast<double>(factor));
    Spans spans;
    spans.begin.reserve(static_cast<size_t>(destinationLength) + 1);
    spans.taps.reserve(static_cast<size_t>(std::max(destinationLength, sourceLength)) * 2);
    for (int32_t d = 0; d < destinationLength; ++d) {
        spans.begin.push_back(static_cast<uint32_t>(spans.taps.size()));
        const float start = static_cast<float>(static_cast<double>(d) * inverse);
        const float end = static_cast<float>((static_cast<double>(d) + 1.0) * inverse);
        // Rounding may carry a span's end (or, enlarging, its start) past the
        // source's edge: the span stops there.
        if (!(static_cast<double>(start) < static_cast<double>(sourceLength))) continue;
        for (int32_t i = static_cast<int32_t>(start); i < sourceLength && static_cast<double>(i) < end; ++i) {
            const double covered =
                std::min(static_cast<double>(i) + 1.0, static_cast<double>(end)) - std::max(static_cast<double>(i),
                                                                                               static_cast<double>(start));
            spans.taps.push_back(Tap{i, static_cast<float>(covered * factor)});
        }
    }
    spans.begin.push_back(static_cast<uint32_t>(spans.taps.size()));
    return spans;
}

// The taps of a group's lanes as the averaging reads them, lane l of tap
// position k at index k * group + l of each array: where the byte offset of
// the source pixel's colour-table entry is found, and the weight. Apart, so
// that each load takes only what it needs. The offset is found through the
// tap's source column in a row of each pixel's offset (IndexedRows)...
struct ColumnTaps {
    const uint16_t* offsets;
    const uint32_t* column;
    const double* weight;
    uint32_t Offset(uint32_t lane) const { return offsets[column[lane]]; }
    ColumnTaps operator+(uint32_t lanes) const { return ColumnTaps{offsets, column + lanes, weight + lanes}; }
};

// ... or in a row of each tap's offset (SlotRows).
struct SlotTaps {
    const uint16_t* slot;
    const double* weight;
    uint32_t Offset(uint32_t lane) const { return slot[lane]; }
    SlotTaps operator+(uint32_t lanes) const { return SlotTaps{slot + lanes, weight + lanes}; }
};

struct RowTap {
    const uint8_t* row;
    int32_t stored;  // the row's place in storage order
    double weight;
};

// A colour table entry, blue, green, red and 0 (the order of a destination
// pixel's bytes), times the weight of one source row. A channel times a weight is exact in double precision (8 by 24
// bits), so (channel * weightY) * weightX rounds the same exact value once,
// as (channel * weightX) * weightY does: scaling the table once per row
// leaves one multiplication per contribution.
struct Entry {
    double channel[4];
};

// Destination columns are summed in groups of kGroup side by side, since
// every addition waits for the rounding of the one before; the compiler
// keeps as many sums in registers as the processor has room for. Each column
// of a group gets as many taps as the group's widest; the extra ones weigh 0,
// which adds exactly nothing.
constexpr uint32_t kGroup = 8;
// AVX-512 sums two pixels to a vector: 32 columns, 16 vectors of sums, in
// 64-bit code, which has 32 vector registers; 8 columns in 32-bit code,
// which has 8. (32 columns measured some 10% faster than 16.)
#if defined(__x86_64__)
constexpr uint32_t kWideGroup = 32;
#else
constexpr uint32_t kWideGroup = 8;
#endif

// Columns with the same number of taps are grouped, whether neighbours or
// not, so that no lane sums padding: shrinking 1920 columns by 0.79777777,
// 384 of them have three taps and the others two. Each lane stores its
// pixel at its own column; a group of neighbouring columns (at 0.5 and 0.75,
// every column has two taps) stores its pixels in one go.
struct Plan {
    std::vector<uint32_t> groupBegin;  // the taps of group g, kGroup per tap position, start at groupBegin[g]
    std::vector<uint32_t> tapColumns;  // each tap's source column
    std::vector<double> tapWeights;
    // For looking source pixels up 64 taps at a time: for each 64 taps, the
    // first source column they read, -1 when their columns lie 256 or more
    // apart, and whether they lie 128 or more apart; each tap's column
    // counted from there (to a whole number of 64).
    std::vector<int32_t> chunkWindow;
    std::vector<uint8_t> chunkWide;
    std::vector<uint8_t> tapWithin;
    std::vector<int32_t> groupColumns;  // kGroup per group: the lanes' destination columns
    std::vector<uint8_t> groupRun;      // 1 where those columns follow each other
    std::vector<uint32_t> rowBegin;  // rowTaps[rowBegin[y]] up to rowBegin[y + 1] serve row y
    std::vector<RowTap> rowTaps;
    uint32_t tallest = 0;  // the most source rows of one destination row
    int32_t sourceWidth = 0;
    uint32_t sourceStride = 0;  // bytes per source row
};

// The table entry of a lane's source pixel.
template <class Taps>
inline const Entry& ColorAt(const Entry* table, const Taps& taps, uint32_t lane) {
    return *reinterpret_cast<const Entry*>(reinterpret_cast<const uint8_t*>(table) + taps.Offset(lane));
}

// A sum below 255 loses its fraction; any other becomes 255.
inline uint32_t Channel(double sum) {
    return sum < 255.0 ? static_cast<uint32_t>(sum) : 255u;
}

// The three sums of one destination pixel (or, AVX-512, of two): each
// contribution is formed in double precision and each sum rounded to single
// precision after each addition. The sums start at 0: the first
// contribution added to 0 is itself, only rounded. Four ways to hold them:
// plain floats, pairs of doubles (SSE2), one vector (AVX), where a
// conversion to single precision rounds every lane at once, and one vector
// for two pixels (AVX-512).
class PortableSums {
public:
    void Add(const Entry& color, const double* weight) {
        blue = static_cast<float>(blue + color.channel[0] * *weight);
        green = static_cast<float>(green + color.channel[1] * *weight);
        red = static_cast<float>(red + color.channel[2] * *weight);
    }
    uint32_t Pixel() const { return Channel(blue) | (Channel(green) << 8) | (Channel(red) << 16); }

private:
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
};

#ifdef TESSALINE_RESAMPLE_X86
// Blue, green, red and 0 as four 32-bit whole numbers of 0 to 255: the pixel.
inline uint32_t PackedPixel(__m128i channels) {
    const __m128i words = _mm_packs_epi32(channels, channels);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
}

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

#define TESSALINE_AVX512 __attribute__((target("avx512f,avx512vl")))
// GCC's own AVX-512 conversions start from a deliberately undefined vector,
// which it then warns of as uninitialised.
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
#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#endif

// The sums of one pixel as the lanes below use them: the colour looked up
// here, the pixel stored at its own column.
template <class Sums>
struct OnePixel {
    static constexpr uint32_t kPixels = 1;
    template <class Taps>
    void Add(const Entry* table, const Taps& taps) {
        sums.Add(ColorAt(table, taps, 0), taps.weight);
    }
    // Adding to sums of 0 costs these ways no more than a start of its own.
    template <class Taps>
    void Start(const Entry* table, const Taps& taps) {
        Add(table, taps);
    }
    void Store(uint32_t* out, const int32_t* columns) const {
        out[columns[0]] = sums.Pixel();
    }
    // This pixel and the `next` at out[0] and out[1].
    void StoreRun(const OnePixel& next, uint32_t* out) const {
        out[0] = sums.Pixel();
        out[1] = next.sums.Pixel();
    }
    Sums sums;
};

#ifdef TESSALINE_RESAMPLE_X86
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
#endif

// The colour table times each source row's weight, for one destination row.
class ScaledTables {
public:
    ScaledTables(const Entry* palette, uint32_t entries, uint32_t rows)
        : palette(palette), entries(entries), tables(static_cast<size_t>(entries) * rows) {}
    const Entry* For(const RowTap* rows, uint32_t count) {
        for (uint32_t r = 0; r < count; ++r) {
            Entry* table = tables.data() + static_cast<size_t>(r) * entries;
            for (uint32_t k = 0; k < entries; ++k) {
                for (int c = 0; c < 4; ++c) table[k].channel[c] = palette[k].channel[c] * rows[r].weight;
            }
        }
        return tables.data();
    }

private:
    const Entry* palette;
    uint32_t entries;
    std::vector<Entry> tables;
};

// Source rows as the averaging reads them: for each pixel, the byte offset
// of its colour's table entry, so that a contribution needs no arithmetic
// to find its colour. Each row is worked out once and kept while the
// destination rows that read it are summed: a destination row's source rows
// follow each other, so with a place for as many rows as the tallest
// destination row reads, row i kept in place i modulo that number, the rows
// of one destination row never take each other's place.
template <int kBits>
class IndexedRows {
public:
    IndexedRows(const Plan& plan, uint32_t places)
        : width(static_cast<size_t>(plan.sourceWidth)), places(places), held(places, -1), offsets(width * places) {}
    static ColumnTaps TapsAt(const Plan& plan, const uint16_t* row, uint32_t begin) {
        return ColumnTaps{row, plan.tapColumns.data() + begin, plan.tapWeights.data() + begin};
    }
    const uint16_t* For(const RowTap& row) {
        const uint32_t place = static_cast<uint32_t>(row.stored) % places;
        uint16_t* out = offsets.data() + place * width;
        if (held[place] != row.stored) {
            held[place] = row.stored;
            Index(row.row, out);
        }
        return out;
    }

private:
    static constexpr uint16_t kEntry = sizeof(Entry);
    void Index(const uint8_t* row, uint16_t* out) const {
        size_t x = 0;
#ifdef TESSALINE_RESAMPLE_X86
        // Sixteen bytes at a time: 16 pixels of 8 bits, 32 of 4.
        static_assert(kEntry == 1 << 5, "a table entry is 32 bytes");
        const __m128i zero = _mm_setzero_si128();
        const auto store = [&](size_t at, __m128i indices) {
            __m128i* to = reinterpret_cast<__m128i*>(out + at);
            _mm_storeu_si128(to, _mm_slli_epi16(_mm_unpacklo_epi8(indices, zero), 5));
            _mm_storeu_si128(to + 1, _mm_slli_epi16(_mm_unpackhi_epi8(indices, zero), 5));
        };
        if (kBits == 8) {
            for (; x + 16 <= width; x += 16) store(x, _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x)));
        } else {
            const __m128i nibble = _mm_set1_epi8(0x0F);
            for (; x + 32 <= width; x += 32) {
                const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x / 2));
                const __m128i high = _mm_and_si128(_mm_srli_epi16(bytes, 4), nibble);
                const __m128i low = _mm_and_si128(bytes, nibble);
                store(x, _mm_unpacklo_epi8(high, low));
                store(x + 16, _mm_unpackhi_epi8(high, low));
            }
        }
#endif
        for (; x < width; ++x) {
            // Four bits: the even pixel is the high nibble.
            const uint32_t index = kBits == 8 ? row[x] : (x % 2 != 0 ? row[x / 2] : row[x / 2] >> 4) & 0x0Fu;
            out[x] = static_cast<uint16_t>(index * kEntry);
        }
    }

    size_t width;
    uint32_t places;
    std::vector<int32_t> held;  // the row in each place, -1 for none
    std::vector<uint16_t> offsets;
};

#ifdef TESSALINE_RESAMPLE_X86
#define TESSALINE_VBMI __attribute__((target("avx512f,avx512bw,avx512vbmi")))
// GCC's AVX-512 extensions start from a deliberately undefined vector, which
// it then warns of as uninitialised.
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
// Source rows as the AVX-512 way reads them: for each tap, in the order of
// plan.tapColumns, the byte offset of its pixel's colour-table entry, so
// that a contribution finds its colour with one load, in order. Kept in
// places as IndexedRows keeps its rows. The pixels are looked up 64 taps at
// a time, by byte permutations (VBMI) out of the 256 pixels from the first
// column they read; taps whose columns lie further apart look them up one by
// one.
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
#endif

// The sums of kLanes neighbouring lanes, each in a member of its own, so
// that the compiler keeps them in registers. Each lane holds
// Lane::kPixels pixels.
template <class Lane, uint32_t kLanes>
struct Lanes {
    Lane first;
    Lanes<Lane, kLanes - 1> rest;

    template <class Taps>
    void Add(const Entry* table, const Taps& taps) {
        first.Add(table, taps);
        rest.Add(table, taps + Lane::kPixels);
    }
    // The first contribution, to sums of 0.
    template <class Taps>
    void Start(const Entry* table, const Taps& taps) {
        first.Start(table, taps);
        rest.Start(table, taps + Lane::kPixels);
    }
    void Store(uint32_t* out, const int32_t* columns) const {
        first.Store(out, columns);
        rest.Store(out, columns + Lane::kPixels);
    }
    // The lanes' pixels side by side from out[0], two lanes at a time.
    void StoreRun(uint32_t* out) const {
        static_assert(kLanes % 2 == 0, "lanes are stored in twos");
        first.StoreRun(rest.first, out);
        rest.rest.StoreRun(out + 2 * Lane::kPixels);
    }
};

template <class Lane>
struct Lanes<Lane, 0> {
    template <class Taps>
    void Add(const Entry*, const Taps&) {}
    template <class Taps>
    void Start(const Entry*, const Taps&) {}
    void Store(uint32_t*, const int32_t*) const {}
    void StoreRun(uint32_t*) const {}
};

// Each pixel adds its contributions in the order rows, then columns within a
// row; the columns of a group side by side.
template <int kBits, class Lane, uint32_t kGroup, class Rows>
inline void AverageRow(const Plan& plan, const Entry* tables, const uint16_t* const* rows, uint32_t rowCount,
                       uint32_t* out) {
    constexpr uint32_t kEntries = 1u << kBits;
    const uint32_t groups = static_cast<uint32_t>(plan.groupBegin.size()) - 1;
    for (uint32_t group = 0; group < groups; ++group) {
        const uint32_t begin = plan.groupBegin[group];
        const uint32_t positions = (plan.groupBegin[group + 1] - plan.groupBegin[group]) / kGroup;
        Lanes<Lane, kGroup / Lane::kPixels> sums;
        for (uint32_t r = 0; r < rowCount; ++r) {
            const Entry* table = tables + r * kEntries;
            const auto taps = Rows::TapsAt(plan, rows[r], begin);
            uint32_t k = 0;
            if (r == 0 && positions > 0) {
                sums.Start(table, taps);
                k = 1;
            }
            for (; k < positions; ++k) sums.Add(table, taps + k * kGroup);
        }
        const int32_t* columns = plan.groupColumns.data() + static_cast<size_t>(group) * kGroup;
        if (plan.groupRun[group] != 0) {
            sums.StoreRun(out + columns[0]);
        } else {
            sums.Store(out, columns);
        }
    }
}

// Destination rows first to end - 1, the source rows read as Rows gives
// them (IndexedRows or SlotRows).
template <int kBits, class Lane, uint32_t kGroup, class Rows = IndexedRows<kBits>>
void Average(const Plan& plan, const Entry* palette, int32_t width, int32_t first, int32_t end,
             uint32_t* destination) {
    ScaledTables scaled(palette, 1u << kBits, plan.tallest);
    Rows held(plan, plan.tallest);
    std::vector<const uint16_t*> sourceRows(plan.tallest);
    for (int32_t y = first; y < end; ++y) {
        const RowTap* rows = plan.rowTaps.data() + plan.rowBegin[y];
        const uint32_t count = plan.rowBegin[y + 1] - plan.rowBegin[y];
        // The source rows two destination rows ahead start on their way to
        // the cache while this one is summed.
        if (y + 2 < end) {
            for (uint32_t tap = plan.rowBegin[y + 2]; tap < plan.rowBegin[y + 3]; ++tap) {
                for (uint32_t at = 0; at < plan.sourceStride; at += 64) __builtin_prefetch(plan.rowTaps[tap].row + at);
            }
        }
        for (uint32_t r = 0; r < count; ++r) sourceRows[r] = held.For(rows[r]);
        AverageRow<kBits, Lane, kGroup, Rows>(plan, scaled.For(rows, count), sourceRows.data(), count,
                                              destination + static_cast<size_t>(y) * static_cast<size_t>(width));
    }
}

#ifdef TESSALINE_RESAMPLE_X86
// The same averaging, compiled for AVX with everything it calls inlined.
template <int kBits>
__attribute__((target("avx"), flatten)) void AverageAvx(const Plan& plan, const Entry* palette, int32_t width,
                                                        int32_t first, int32_t end, uint32_t* destination) {
    Average<kBits, OnePixel<AvxSums>, kGroup>(plan, palette, width, first, end, destination);
}

// And for AVX-512, whose source pixels are looked up 64 at a time.
template <int kBits>
__attribute__((target("avx512f,avx512vl,avx512bw,avx512vbmi"), flatten)) void AverageAvx512(
    const Plan& plan, const Entry* palette, int32_t width, int32_t first, int32_t end, uint32_t* destination) {
    Average<kBits, TwoPixels, kWideGroup, SlotRows<kBits>>(plan, palette, width, first, end, destination);
}
#endif

void AverageWith(ResampleInstructions instructions, int32_t bits, const Plan& plan, const Entry* palette, int32_t width,
         int32_t first, int32_t end, uint32_t* destination) {
    switch (instructions) {
#ifdef TESSALINE_RESAMPLE_X86
        case ResampleInstructions::kAvx512:
            return bits == 8 ? AverageAvx512<8>(plan, palette, width, first, end, destination)
                             : AverageAvx512<4>(plan, palette, width, first, end, destination);
        case ResampleInstructions::kAvx:
            return bits == 8 ? AverageAvx<8>(plan, palette, width, first, end, destination)
                             : AverageAvx<4>(plan, palette, width, first, end, destination);
        case ResampleInstructions::kSse2:
            return bits == 8 ? Average<8, OnePixel<Sse2Sums>, kGroup>(plan, palette, width, first, end, destination)
                             : Average<4, OnePixel<Sse2Sums>, kGroup>(plan, palette, width, first, end, destination);
#endif
        default:
            return bits == 8
                       ? Average<8, OnePixel<PortableSums>, kGroup>(plan, palette, width, first, end, destination)
                       : Average<4, OnePixel<PortableSums>, kGroup>(plan, palette, width, first, end, destination);
    }
}

}  // namespace

std::vector<ResampleInstructions> AvailableResampleInstructions() {
    std::vector<ResampleInstructions> available{ResampleInstructions::kPortable};
#ifdef TESSALINE_RESAMPLE_X86
    available.push_back(ResampleInstructions::kSse2);
    // The processor and the operating system (which must save the wider
    // registers) both have to allow AVX.
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx")) available.push_back(ResampleInstructions::kAvx);
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
        __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi")) {
        available.push_back(ResampleInstructions::kAvx512);
    }
#endif
    return available;
}

uint32_t SourceStride(int32_t width, int32_t bitsPerPixel) {
    if (width <= 0 || bitsPerPixel <= 0 || bitsPerPixel > 32) return 0;
    const uint64_t bits = static_cast<uint64_t>(bitsPerPixel) * static_cast<uint64_t>(width);
    const uint64_t stride = (bits + 31) / 32 * 4;
    return stride > 0xFFFFFFFFu ? 0 : static_cast<uint32_t>(stride);
}

bool ResampledSize(int32_t width, int32_t height, float horizontalFactor, float verticalFactor, Size* size) {
    // The product of the integer size and the factor is exact in double
    // precision; its fraction is dropped, never rounded.
    const double w = static_cast<double>(width) * horizontalFactor;
    const double h = static_cast<double>(height) * verticalFactor;
    if (!(w >= 1.0) || !(h >= 1.0)) return false;  // also refuses NaN
    if (w > kMaxPixels || h > kMaxPixels || static_cast<double>(static_cast<int32_t>(w)) *
                                                     static_cast<double>(static_cast<int32_t>(h)) >
                                                 kMaxPixels) {
        return false;
    }
    *size = Size{static_cast<int32_t>(w), static_cast<int32_t>(h)};
    return true;
}

struct ResampleRows::Work {
    Plan plan;
    Entry palette[256];
    int32_t bits;
    int32_t width;
    uint32_t* destination;
    ResampleInstructions instructions;
};

ResampleRows::ResampleRows(const SourcePicture& source, float horizontalFactor, float verticalFactor, Size size,
                           uint32_t* destination, ResampleInstructions instructions) {
    if (source.bitsPerPixel != 4 && source.bitsPerPixel != 8) return;
    if (source.width <= 0 || source.height <= 0 || source.rows == nullptr) return;
    if (source.colorTable == nullptr && source.colorCount != 0) return;
    if (!(horizontalFactor > 0.0f) || !(verticalFactor > 0.0f)) return;
    if (size.width <= 0 || size.height <= 0 || destination == nullptr) return;
    const uint32_t stride = SourceStride(source.width, source.bitsPerPixel);
    if (stride == 0) return;

    work = std::make_unique<Work>();
    work->bits = source.bitsPerPixel;
    work->width = size.width;
    work->destination = destination;
    work->instructions = instructions;
    // Indices beyond the file's colour table draw black.
    const uint32_t entries = std::min<uint32_t>(source.colorCount, 1u << source.bitsPerPixel);
    for (uint32_t k = 0; k < 256; ++k) work->palette[k] = Entry{};
    for (uint32_t k = 0; k < entries; ++k) {
        const uint8_t* entry = source.colorTable + 4 * k;
        work->palette[k] = Entry{{static_cast<double>(entry[0]), static_cast<double>(entry[1]),
                                  static_cast<double>(entry[2]), 0.0}};
    }

    Plan& plan = work->plan;
    const uint32_t group = instructions == ResampleInstructions::kAvx512 ? kWideGroup : kGroup;
    const Spans columns = ComputeSpans(size.width, source.width, horizontalFactor);
    const auto addTap = [&](const Tap& tap) {
        plan.tapColumns.push_back(static_cast<uint32_t>(tap.index));
        plan.tapWeights.push_back(tap.weight);
    };
    // Columns in order of their number of taps, left to right within each number.
    const auto tapsOf = [&](int32_t x) { return columns.begin[x + 1] - columns.begin[x]; };
    uint32_t most = 0;
    for (int32_t x = 0; x < size.width; ++x) most = std::max(most, tapsOf(x));
    std::vector<uint32_t> place(static_cast<size_t>(most) + 2, 0);  // where each number's columns start
    for (int32_t x = 0; x < size.width; ++x) ++place[tapsOf(x) + 1];
    for (uint32_t taps = 0; taps <= most; ++taps) place[taps + 1] += place[taps];
    std::vector<int32_t> order(static_cast<size_t>(size.width));
    for (int32_t x = 0; x < size.width; ++x) order[place[tapsOf(x)]++] = x;
    // The last group's lanes beyond the last column sum the group's first
    // column again: they store the same pixel at the same place, so that no
    // lane has to be told apart. Taps a column has fewer of than its group's
    // widest read its last pixel again (weighing 0), or the picture's last
    // for a column without any, so that a group's pixels stay together.
    const auto spareTap = [&](int32_t x) {
        const uint32_t taps = tapsOf(x);
        return Tap{taps > 0 ? columns.taps[columns.begin[x] + taps - 1].index : source.width - 1, 0.0f};
    };
    for (size_t first = 0; first < order.size(); first += group) {
        plan.groupBegin.push_back(static_cast<uint32_t>(plan.tapColumns.size()));
        const size_t end = std::min(first + group, order.size());
        const auto columnOf = [&](size_t lane) { return order[lane < end ? lane : first]; };
        uint32_t positions = 0;
        for (size_t lane = first; lane < end; ++lane) positions = std::max(positions, tapsOf(order[lane]));
        for (uint32_t k = 0; k < positions; ++k) {
            for (size_t lane = first; lane < first + group; ++lane) {
                const int32_t x = columnOf(lane);
                addTap(k < tapsOf(x) ? columns.taps[columns.begin[x] + k] : spareTap(x));
            }
        }
        bool run = true;
        for (size_t lane = first; lane < first + group; ++lane) {
            plan.groupColumns.push_back(columnOf(lane));
            run = run && columnOf(lane) == columnOf(first) + static_cast<int32_t>(lane - first);
        }
        plan.groupRun.push_back(run ? 1 : 0);
    }
    plan.groupBegin.push_back(static_cast<uint32_t>(plan.tapColumns.size()));
    for (size_t chunk = 0; chunk < plan.tapColumns.size(); chunk += 64) {
        const auto begin = plan.tapColumns.begin() + static_cast<ptrdiff_t>(chunk);
        const auto end = plan.tapColumns.begin() + static_cast<ptrdiff_t>(std::min(chunk + 64, plan.tapColumns.size()));
        const auto [least, most] = std::minmax_element(begin, end);
        const bool together = *most - *least < 256;
        plan.chunkWindow.push_back(together ? static_cast<int32_t>(*least) : -1);
        plan.chunkWide.push_back(*most - *least >= 128 ? 1 : 0);
        for (auto tap = begin; tap != end; ++tap) {
            plan.tapWithin.push_back(together ? static_cast<uint8_t>(*tap - *least) : 0);
        }
    }
    plan.tapWithin.resize(plan.chunkWindow.size() * 64, 0);
    // Rows are counted from the picture's bottom, as the destination stores
    // them, whatever order the source keeps them in.
    Spans rows = ComputeSpans(size.height, source.height, verticalFactor);
    plan.rowBegin = std::move(rows.begin);
    plan.rowTaps.reserve(rows.taps.size());
    for (const Tap& tap : rows.taps) {
        const int32_t stored = source.topDown ? source.height - 1 - tap.index : tap.index;
        plan.rowTaps.push_back(RowTap{source.rows + static_cast<size_t>(stored) * stride, stored, tap.weight});
    }
    for (int32_t y = 0; y < size.height; ++y) {
        plan.tallest = std::max(plan.tallest, plan.rowBegin[y + 1] - plan.rowBegin[y]);
    }
    plan.sourceWidth = source.width;
    plan.sourceStride = stride;
    rowCount = size.height;
    contributions = static_cast<uint64_t>(plan.tapColumns.size()) * plan.rowTaps.size();
}

ResampleRows::~ResampleRows() = default;

void ResampleRows::Run(int32_t first, int32_t end) const {
    if (work == nullptr) return;
    first = std::max(first, 0);
    end = std::min(end, rowCount);
    if (first >= end) return;
    AverageWith(work->instructions, work->bits, work->plan, work->palette, work->width, first, end, work->destination);
}

bool ResampleAreaAverageInto(const SourcePicture& source, float horizontalFactor, float verticalFactor, Size size,
                             uint32_t* destination, ResampleInstructions instructions) {
    const ResampleRows rows(source, horizontalFactor, verticalFactor, size, destination, instructions);
    if (!rows.Valid()) return false;
    rows.Run(0, rows.Rows());
    return true;
}

bool ResampleAreaAverageInto(const SourcePicture& source, float horizontalFactor, float verticalFactor, Size size,
                             uint32_t* destination) {
    return ResampleAreaAverageInto(source, horizontalFactor, verticalFactor, size, destination,
                                   WidestResampleInstructions());
}

ResampleInstructions WidestResampleInstructions() {
    static const ResampleInstructions widest = AvailableResampleInstructions().back();
    return widest;
}

ResampledPicture ResampleAreaAverage(const SourcePicture& source, float horizontalFactor, float verticalFactor) {
    ResampledPicture picture;
    Size size{};
    if (!ResampledSize(source.width, source.height, horizontalFactor, verticalFactor, &size)) return picture;
    std::vector<uint32_t> pixels(static_cast<size_t>(size.width) * static_cast<size_t>(size.height));
    if (!ResampleAreaAverageInto(source, horizontalFactor, verticalFactor, size, pixels.data())) return picture;
    picture.width = size.width;
    picture.height = size.height;
    picture.pixels = std::move(pixels);
    return picture;
}
