#include "render/resample.h"

#include <algorithm>
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

// A source column as the averaging reads it: the byte that holds its colour
// index, how far the index sits from the byte's low end, and its weight,
// twice, so that a pair of sums can load it at once.
struct ColumnTap {
    uint32_t byte;
    uint32_t shift;
    double weight[2];
};

struct RowTap {
    const uint8_t* row;
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
// keeps as many sums in registers as the processor has room for. Each column of a
// group gets as many taps as the group's widest; the extra ones weigh 0,
// which adds exactly nothing.
constexpr int32_t kGroup = 8;

struct Plan {
    std::vector<uint32_t> groupBegin;  // the taps of group g, kGroup per tap position, start at groupBegin[g]
    std::vector<ColumnTap> groupTaps;
    std::vector<uint32_t> rowBegin;  // rowTaps[rowBegin[y]] up to rowBegin[y + 1] serve row y
    std::vector<RowTap> rowTaps;
    uint32_t tallest = 0;  // the most source rows of one destination row
};

template <int kBits>
inline const Entry& ColorAt(const Entry* table, const uint8_t* row, const ColumnTap& column) {
    if (kBits == 8) return table[row[column.byte]];
    return table[(static_cast<uint32_t>(row[column.byte]) >> column.shift) & 0x0Fu];
}

// A sum below 255 loses its fraction; any other becomes 255.
inline uint32_t Channel(double sum) {
    return sum < 255.0 ? static_cast<uint32_t>(sum) : 255u;
}

// The three sums of one destination pixel: each contribution is formed in
// double precision and each sum rounded to single precision after each
// addition; the first contribution is added to nothing. Three ways to hold
// them: plain floats, pairs of doubles (SSE2) and one vector (AVX), where a
// conversion to single precision rounds every lane at once.
class PortableSums {
public:
    void Start(const Entry& color, const ColumnTap& column) { Add(color, column); }
    void Add(const Entry& color, const ColumnTap& column) {
        blue = static_cast<float>(blue + color.channel[0] * column.weight[0]);
        green = static_cast<float>(green + color.channel[1] * column.weight[0]);
        red = static_cast<float>(red + color.channel[2] * column.weight[0]);
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
    // The first contribution, added to nothing, is only rounded.
    void Start(const Entry& color, const ColumnTap& column) {
        const __m128d weight = _mm_loadu_pd(column.weight);
        blueGreen = _mm_cvtps_pd(_mm_cvtpd_ps(_mm_mul_pd(_mm_loadu_pd(color.channel), weight)));
        redNone = _mm_cvtps_pd(_mm_cvtpd_ps(_mm_mul_pd(_mm_loadu_pd(color.channel + 2), weight)));
    }
    void Add(const Entry& color, const ColumnTap& column) {
        const __m128d weight = _mm_loadu_pd(column.weight);
        blueGreen = _mm_cvtps_pd(_mm_cvtpd_ps(_mm_add_pd(blueGreen, _mm_mul_pd(_mm_loadu_pd(color.channel), weight))));
        redNone = _mm_cvtps_pd(_mm_cvtpd_ps(_mm_add_pd(redNone, _mm_mul_pd(_mm_loadu_pd(color.channel + 2), weight))));
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
    TESSALINE_AVX void Start(const Entry& color, const ColumnTap& column) {
        sums = _mm256_cvtpd_ps(_mm256_mul_pd(_mm256_loadu_pd(color.channel), _mm256_broadcast_sd(column.weight)));
    }
    TESSALINE_AVX void Add(const Entry& color, const ColumnTap& column) {
        const __m256d product = _mm256_mul_pd(_mm256_loadu_pd(color.channel), _mm256_broadcast_sd(column.weight));
        sums = _mm256_cvtpd_ps(_mm256_add_pd(_mm256_cvtps_pd(sums), product));
    }
    TESSALINE_AVX uint32_t Pixel() const {
        // Sums of 255 and more become 255, the others lose their fraction.
        return PackedPixel(_mm_cvttps_epi32(_mm_min_ps(sums, _mm_set1_ps(255.0f))));
    }

private:
    __m128 sums;  // blue, green, red, 0
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

// The sums of kLanes neighbouring pixels, each in a member of its own, so
// that the compiler keeps them in registers.
template <class Sums, int kLanes>
struct Lanes {
    Sums first;
    Lanes<Sums, kLanes - 1> rest;

    template <int kBits>
    void Start(const Entry* table, const uint8_t* bytes, const ColumnTap* columns) {
        first.Start(ColorAt<kBits>(table, bytes, columns[0]), columns[0]);
        rest.template Start<kBits>(table, bytes, columns + 1);
    }
    template <int kBits>
    void Add(const Entry* table, const uint8_t* bytes, const ColumnTap* columns) {
        first.Add(ColorAt<kBits>(table, bytes, columns[0]), columns[0]);
        rest.template Add<kBits>(table, bytes, columns + 1);
    }
    // The first `count` pixels.
    void Store(uint32_t* out, int32_t count) const {
        if (count <= 0) return;
        out[0] = first.Pixel();
        rest.Store(out + 1, count - 1);
    }
};

template <class Sums>
struct Lanes<Sums, 0> {
    template <int kBits>
    void Start(const Entry*, const uint8_t*, const ColumnTap*) {}
    template <int kBits>
    void Add(const Entry*, const uint8_t*, const ColumnTap*) {}
    void Store(uint32_t*, int32_t) const {}
};

// Each pixel adds its contributions in the order rows, then columns within a
// row; the columns of a group side by side.
template <int kBits, class Sums>
inline void AverageRow(const Plan& plan, const Entry* tables, const RowTap* rows, uint32_t rowCount, int32_t width,
                       uint32_t* out) {
    constexpr uint32_t kEntries = 1u << kBits;
    for (int32_t x = 0; x < width; x += kGroup) {
        const uint32_t group = static_cast<uint32_t>(x) / kGroup;
        const ColumnTap* taps = plan.groupTaps.data() + plan.groupBegin[group];
        const uint32_t positions = (plan.groupBegin[group + 1] - plan.groupBegin[group]) / kGroup;
        Lanes<Sums, kGroup> sums;
        for (uint32_t r = 0; r < rowCount; ++r) {
            const Entry* table = tables + r * kEntries;
            const uint8_t* bytes = rows[r].row;
            for (uint32_t k = 0; k < positions; ++k) {
                if (r == 0 && k == 0) {
                    sums.template Start<kBits>(table, bytes, taps);
                } else {
                    sums.template Add<kBits>(table, bytes, taps + k * kGroup);
                }
            }
        }
        sums.Store(out + x, width - x);
    }
}

template <int kBits, class Sums>
void Average(const Plan& plan, const Entry* palette, Size size, uint32_t* destination) {
    ScaledTables scaled(palette, 1u << kBits, plan.tallest);
    for (int32_t y = 0; y < size.height; ++y) {
        const RowTap* rows = plan.rowTaps.data() + plan.rowBegin[y];
        const uint32_t count = plan.rowBegin[y + 1] - plan.rowBegin[y];
        AverageRow<kBits, Sums>(plan, scaled.For(rows, count), rows, count, size.width,
                                destination + static_cast<size_t>(y) * static_cast<size_t>(size.width));
    }
}

#ifdef TESSALINE_RESAMPLE_X86
// The same averaging, compiled for AVX with everything it calls inlined.
template <int kBits>
__attribute__((target("avx"), flatten)) void AverageAvx(const Plan& plan, const Entry* palette, Size size,
                                                        uint32_t* destination) {
    Average<kBits, AvxSums>(plan, palette, size, destination);
}
#endif

void Run(ResampleInstructions instructions, int32_t bits, const Plan& plan, const Entry* palette, Size size,
         uint32_t* destination) {
    switch (instructions) {
#ifdef TESSALINE_RESAMPLE_X86
        case ResampleInstructions::kAvx:
            return bits == 8 ? AverageAvx<8>(plan, palette, size, destination)
                             : AverageAvx<4>(plan, palette, size, destination);
        case ResampleInstructions::kSse2:
            return bits == 8 ? Average<8, Sse2Sums>(plan, palette, size, destination)
                             : Average<4, Sse2Sums>(plan, palette, size, destination);
#endif
        default:
            return bits == 8 ? Average<8, PortableSums>(plan, palette, size, destination)
                             : Average<4, PortableSums>(plan, palette, size, destination);
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

bool ResampleAreaAverageInto(const SourcePicture& source, float horizontalFactor, float verticalFactor, Size size,
                             uint32_t* destination, ResampleInstructions instructions) {
    if (source.bitsPerPixel != 4 && source.bitsPerPixel != 8) return false;
    if (source.width <= 0 || source.height <= 0 || source.rows == nullptr) return false;
    if (source.colorTable == nullptr && source.colorCount != 0) return false;
    if (!(horizontalFactor > 0.0f) || !(verticalFactor > 0.0f)) return false;
    if (size.width <= 0 || size.height <= 0 || destination == nullptr) return false;
    const uint32_t stride = SourceStride(source.width, source.bitsPerPixel);
    if (stride == 0) return false;

    // Indices beyond the file's colour table draw black.
    Entry palette[256] = {};
    const uint32_t entries = std::min<uint32_t>(source.colorCount, 1u << source.bitsPerPixel);
    for (uint32_t k = 0; k < entries; ++k) {
        const uint8_t* entry = source.colorTable + 4 * k;
        palette[k] = Entry{{static_cast<double>(entry[0]), static_cast<double>(entry[1]),
                            static_cast<double>(entry[2]), 0.0}};
    }

    Plan plan;
    const Spans columns = ComputeSpans(size.width, source.width, horizontalFactor);
    const auto tapOf = [&](const Tap& tap) {
        const uint32_t i = static_cast<uint32_t>(tap.index);
        const double weight = tap.weight;
        // Four bits: the even pixel is the high nibble.
        return source.bitsPerPixel == 8 ? ColumnTap{i, 0, {weight, weight}}
                                        : ColumnTap{i >> 1, (i & 1u) != 0 ? 0u : 4u, {weight, weight}};
    };
    for (int32_t first = 0; first < size.width; first += kGroup) {
        plan.groupBegin.push_back(static_cast<uint32_t>(plan.groupTaps.size()));
        uint32_t positions = 0;
        for (int32_t x = first; x < std::min(first + kGroup, size.width); ++x) {
            positions = std::max(positions, columns.begin[x + 1] - columns.begin[x]);
        }
        for (uint32_t k = 0; k < positions; ++k) {
            for (int32_t x = first; x < first + kGroup; ++x) {
                const bool real = x < size.width && k < columns.begin[x + 1] - columns.begin[x];
                plan.groupTaps.push_back(tapOf(real ? columns.taps[columns.begin[x] + k] : Tap{0, 0.0f}));
            }
        }
    }
    plan.groupBegin.push_back(static_cast<uint32_t>(plan.groupTaps.size()));
    // Rows are counted from the picture's bottom, as the destination stores
    // them, whatever order the source keeps them in.
    Spans rows = ComputeSpans(size.height, source.height, verticalFactor);
    plan.rowBegin = std::move(rows.begin);
    plan.rowTaps.reserve(rows.taps.size());
    for (const Tap& tap : rows.taps) {
        const int32_t stored = source.topDown ? source.height - 1 - tap.index : tap.index;
        plan.rowTaps.push_back(RowTap{source.rows + static_cast<size_t>(stored) * stride, tap.weight});
    }
    for (int32_t y = 0; y < size.height; ++y) {
        plan.tallest = std::max(plan.tallest, plan.rowBegin[y + 1] - plan.rowBegin[y]);
    }

    Run(instructions, source.bitsPerPixel, plan, palette, size, destination);
    return true;
}

bool ResampleAreaAverageInto(const SourcePicture& source, float horizontalFactor, float verticalFactor, Size size,
                             uint32_t* destination) {
    static const ResampleInstructions widest = AvailableResampleInstructions().back();
    return ResampleAreaAverageInto(source, horizontalFactor, verticalFactor, size, destination, widest);
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
