#include "render/resample.h"

#include <algorithm>
#include <utility>

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

struct RowTap {
    const uint8_t* row;
    float weight;
};

struct Channels {
    double blue;
    double green;
    double red;
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

template <int kBits>
inline uint32_t IndexAt(const uint8_t* row, int32_t i) {
    if (kBits == 8) return row[i];
    const uint8_t pair = row[i >> 1];
    return (i & 1) != 0 ? (pair & 0x0Fu) : (pair >> 4);
}

inline uint32_t Channel(float sum) {
    return sum < 255.0f ? static_cast<uint32_t>(sum) : 255u;
}

template <int kBits>
void Average(const Spans& columns, const std::vector<uint32_t>& rowBegin, const std::vector<RowTap>& rowTaps,
             const Channels* palette, Size size, uint32_t* destination) {
    // One destination row at a time, source row by source row: each pixel
    // still adds its contributions in the order rows then columns, while
    // neighbouring pixels' sums, being independent, proceed side by side.
    std::vector<float> sums(static_cast<size_t>(size.width) * 3);
    for (int32_t y = 0; y < size.height; ++y) {
        std::fill(sums.begin(), sums.end(), 0.0f);
        for (uint32_t r = rowBegin[y]; r != rowBegin[y + 1]; ++r) {
            const RowTap& row = rowTaps[r];
            const double weightY = row.weight;
            float* sum = sums.data();
            for (int32_t x = 0; x < size.width; ++x, sum += 3) {
                float red = sum[0];
                float green = sum[1];
                float blue = sum[2];
                for (uint32_t c = columns.begin[x]; c != columns.begin[x + 1]; ++c) {
                    const Tap& column = columns.taps[c];
                    const double weightX = column.weight;
                    const Channels& color = palette[IndexAt<kBits>(row.row, column.index)];
                    red = static_cast<float>(red + (color.red * weightX) * weightY);
                    green = static_cast<float>(green + (color.green * weightX) * weightY);
                    blue = static_cast<float>(blue + (color.blue * weightX) * weightY);
                }
                sum[0] = red;
                sum[1] = green;
                sum[2] = blue;
            }
        }
        uint32_t* out = destination + static_cast<size_t>(y) * static_cast<size_t>(size.width);
        const float* sum = sums.data();
        for (int32_t x = 0; x < size.width; ++x, sum += 3) {
            out[x] = Channel(sum[2]) | (Channel(sum[1]) << 8) | (Channel(sum[0]) << 16);
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
    Channels palette[256] = {};
    const uint32_t entries = std::min<uint32_t>(source.colorCount, 1u << source.bitsPerPixel);
    for (uint32_t k = 0; k < entries; ++k) {
        const uint8_t* entry = source.colorTable + 4 * k;
        palette[k] = Channels{static_cast<double>(entry[0]), static_cast<double>(entry[1]),
                              static_cast<double>(entry[2])};
    }

    const Spans columns = ComputeSpans(size.width, source.width, horizontalFactor);
    // Rows are counted from the picture's bottom, as the destination stores
    // them, whatever order the source keeps them in.
    const Spans rows = ComputeSpans(size.height, source.height, verticalFactor);
    std::vector<RowTap> rowTaps;
    rowTaps.reserve(rows.taps.size());
    for (const Tap& tap : rows.taps) {
        const int32_t stored = source.topDown ? source.height - 1 - tap.index : tap.index;
        rowTaps.push_back(RowTap{source.rows + static_cast<size_t>(stored) * stride, tap.weight});
    }

    if (source.bitsPerPixel == 8) {
        Average<8>(columns, rows.begin, rowTaps, palette, size, destination);
    } else {
        Average<4>(columns, rows.begin, rowTaps, palette, size, destination);
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
