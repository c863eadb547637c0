#include "render/resample.h"

#include <algorithm>
#include <utility>

#if !defined(TESSALINE_RESAMPLE_SCALAR) && \
    (defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2))
#include <emmintrin.h>
#define TESSALINE_RESAMPLE_SSE2 1
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
// twice, for both lanes of a pair of sums.
struct ColumnTap {
    uint32_t byte;
    uint32_t shift;
    double weight[2];
};

struct RowTap {
    const uint8_t* row;
    double weight;
};

// A colour table entry as the sums take it: red and green, blue and nothing.
struct Entry {
    double redGreen[2];
    double blueNone[2];
};

// The three sums of one destination pixel. Each contribution is formed in
// double precision and each sum rounded to single precision after each
// addition. A channel times weightX is exact in double precision (8 by 24
// bits), and so is weightX * weightY (24 by 24 bits), so channel * (weightX *
// weightY) rounds the same exact value once, as (channel * weightX) * weightY
// does: the pair of weights is multiplied once for all three channels.
#ifdef TESSALINE_RESAMPLE_SSE2
using RowWeight = __m128d;

inline RowWeight MakeRowWeight(double weight) {
    return _mm_set1_pd(weight);
}

class Sums {
public:
    void Add(const Entry& color, const ColumnTap& column, RowWeight rowWeight) {
        const __m128d weight = _mm_mul_pd(_mm_loadu_pd(column.weight), rowWeight);
        // Converting to single precision and back rounds both lanes at once.
        redGreen = _mm_cvtps_pd(_mm_cvtpd_ps(_mm_add_pd(redGreen, _mm_mul_pd(_mm_loadu_pd(color.redGreen), weight))));
        blueNone = _mm_cvtps_pd(_mm_cvtpd_ps(_mm_add_pd(blueNone, _mm_mul_pd(_mm_loadu_pd(color.blueNone), weight))));
    }
    double Red() const { return _mm_cvtsd_f64(redGreen); }
    double Green() const { return _mm_cvtsd_f64(_mm_unpackhi_pd(redGreen, redGreen)); }
    double Blue() const { return _mm_cvtsd_f64(blueNone); }

private:
    __m128d redGreen = _mm_setzero_pd();
    __m128d blueNone = _mm_setzero_pd();
};
#else
using RowWeight = double;

inline RowWeight MakeRowWeight(double weight) {
    return weight;
}

class Sums {
public:
    void Add(const Entry& color, const ColumnTap& column, RowWeight rowWeight) {
        const double weight = column.weight[0] * rowWeight;
        red = static_cast<float>(red + color.redGreen[0] * weight);
        green = static_cast<float>(green + color.redGreen[1] * weight);
        blue = static_cast<float>(blue + color.blueNone[0] * weight);
    }
    double Red() const { return red; }
    double Green() const { return green; }
    double Blue() const { return blue; }

private:
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
};
#endif

template <int kBits>
inline const Entry& ColorAt(const Entry* palette, const uint8_t* row, const ColumnTap& column) {
    if (kBits == 8) return palette[row[column.byte]];
    return palette[(static_cast<uint32_t>(row[column.byte]) >> column.shift) & 0x0Fu];
}

// A sum below 255 loses its fraction; any other becomes 255.
inline uint32_t Channel(double sum) {
    return sum < 255.0 ? static_cast<uint32_t>(sum) : 255u;
}

inline uint32_t PixelOf(const Sums& sums) {
    return Channel(sums.Blue()) | (Channel(sums.Green()) << 8) | (Channel(sums.Red()) << 16);
}

struct Plan {
    std::vector<uint32_t> columnBegin;  // columnTaps[columnBegin[x]] up to columnBegin[x + 1] serve column x
    std::vector<ColumnTap> columnTaps;
    std::vector<uint32_t> rowBegin;  // the same for the rows
    std::vector<RowTap> rowTaps;
};

// Each pixel adds its contributions in the order rows, then columns within a
// row. Every addition waits for the rounding of the one before, so pixels
// with as many columns each are summed four side by side, their additions
// interleaved.
template <int kBits>
void Average(const Plan& plan, const Entry* palette, Size size, uint32_t* destination) {
    constexpr int32_t kLanes = 4;
    const uint32_t* columnBegin = plan.columnBegin.data();
    const ColumnTap* taps = plan.columnTaps.data();
    for (int32_t y = 0; y < size.height; ++y) {
        const RowTap* rowsBegin = plan.rowTaps.data() + plan.rowBegin[y];
        const RowTap* rowsEnd = plan.rowTaps.data() + plan.rowBegin[y + 1];
        uint32_t* out = destination + static_cast<size_t>(y) * static_cast<size_t>(size.width);
        for (int32_t x = 0; x < size.width;) {
            const uint32_t* begin = columnBegin + x;
            const uint32_t n = begin[1] - begin[0];
            if (x + kLanes <= size.width && begin[2] - begin[1] == n && begin[3] - begin[2] == n &&
                begin[4] - begin[3] == n) {
                const ColumnTap* t0 = taps + begin[0];
                const ColumnTap* t1 = taps + begin[1];
                const ColumnTap* t2 = taps + begin[2];
                const ColumnTap* t3 = taps + begin[3];
                Sums s0, s1, s2, s3;
                for (const RowTap* row = rowsBegin; row != rowsEnd; ++row) {
                    const uint8_t* bytes = row->row;
                    const RowWeight weight = MakeRowWeight(row->weight);
                    for (uint32_t k = 0; k < n; ++k) {
                        s0.Add(ColorAt<kBits>(palette, bytes, t0[k]), t0[k], weight);
                        s1.Add(ColorAt<kBits>(palette, bytes, t1[k]), t1[k], weight);
                        s2.Add(ColorAt<kBits>(palette, bytes, t2[k]), t2[k], weight);
                        s3.Add(ColorAt<kBits>(palette, bytes, t3[k]), t3[k], weight);
                    }
                }
                out[x] = PixelOf(s0);
                out[x + 1] = PixelOf(s1);
                out[x + 2] = PixelOf(s2);
                out[x + 3] = PixelOf(s3);
                x += kLanes;
            } else {
                const ColumnTap* t = taps + begin[0];
                Sums sums;
                for (const RowTap* row = rowsBegin; row != rowsEnd; ++row) {
                    const RowWeight weight = MakeRowWeight(row->weight);
                    for (uint32_t k = 0; k < n; ++k) sums.Add(ColorAt<kBits>(palette, row->row, t[k]), t[k], weight);
                }
                out[x] = PixelOf(sums);
                ++x;
            }
        }
    }
}

}  // namespace

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
                             uint32_t* destination) {
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
        palette[k] = Entry{{static_cast<double>(entry[2]), static_cast<double>(entry[1])},
                           {static_cast<double>(entry[0]), 0.0}};
    }

    Plan plan;
    Spans columns = ComputeSpans(size.width, source.width, horizontalFactor);
    plan.columnBegin = std::move(columns.begin);
    plan.columnTaps.reserve(columns.taps.size());
    for (const Tap& tap : columns.taps) {
        const uint32_t i = static_cast<uint32_t>(tap.index);
        const double weight = tap.weight;
        // Four bits: the even pixel is the high nibble.
        const uint32_t shift = (i & 1u) != 0 ? 0u : 4u;
        plan.columnTaps.push_back(source.bitsPerPixel == 8 ? ColumnTap{i, 0, {weight, weight}}
                                                           : ColumnTap{i >> 1, shift, {weight, weight}});
    }
    // Rows are counted from the picture's bottom, as the destination stores
    // them, whatever order the source keeps them in.
    Spans rows = ComputeSpans(size.height, source.height, verticalFactor);
    plan.rowBegin = std::move(rows.begin);
    plan.rowTaps.reserve(rows.taps.size());
    for (const Tap& tap : rows.taps) {
        const int32_t stored = source.topDown ? source.height - 1 - tap.index : tap.index;
        plan.rowTaps.push_back(RowTap{source.rows + static_cast<size_t>(stored) * stride, tap.weight});
    }

    if (source.bitsPerPixel == 8) {
        Average<8>(plan, palette, size, destination);
    } else {
        Average<4>(plan, palette, size, destination);
    }
    return true;
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
