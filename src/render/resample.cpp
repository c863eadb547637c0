#include "render/resample.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "render/resample_plan.h"

// The plan of a resampling: its sizes, spans, weights and colour table,
// worked out once; the way of summing chosen for it (resample_cpu.cpp tells
// which the processor allows) then averages its rows. Every value is formed
// in double precision and rounded to single precision where it is stored
// (reciprocals, span ends and weights here, sums after each addition in
// each way of summing), so that each build, whatever its floating-point
// unit, produces the same pixels.

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

// The way of summing `instructions` names.
const resample::SummingWay& WayOf(ResampleInstructions instructions) {
    switch (instructions) {
#ifdef TESSALINE_RESAMPLE_X86
        case ResampleInstructions::kAvx512:
            return resample::kAvx512Summing;
        case ResampleInstructions::kAvx:
            return resample::kAvxSumming;
        case ResampleInstructions::kSse2:
            return resample::kSse2Summing;
#endif
        default:
            return resample::kPortableSumming;
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

struct ResampleRows::Work {
    resample::Plan plan;
    resample::Entry palette[256];
    int32_t width;
    uint32_t* destination;
    resample::AverageRows average;  // the way of summing, for the source's depth
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
    const resample::SummingWay& way = WayOf(instructions);
    work->width = size.width;
    work->destination = destination;
    work->average = source.bitsPerPixel == 8 ? way.eightBits : way.fourBits;
    // Indices beyond the file's colour table draw black.
    const uint32_t entries = std::min<uint32_t>(source.colorCount, 1u << source.bitsPerPixel);
    for (uint32_t k = 0; k < 256; ++k) work->palette[k] = resample::Entry{};
    for (uint32_t k = 0; k < entries; ++k) {
        const uint8_t* entry = source.colorTable + 4 * k;
        work->palette[k] = resample::Entry{{static_cast<double>(entry[0]), static_cast<double>(entry[1]),
                                            static_cast<double>(entry[2]), 0.0}};
    }

    resample::Plan& plan = work->plan;
    const uint32_t group = way.group;
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
    // Written in place rather than pushed back: GCC builds a pushed-back
    // tap on the stack and copies it, which took a quarter of the plan's time.
    plan.rowTaps.resize(rows.taps.size());
    for (size_t k = 0; k < rows.taps.size(); ++k) {
        const Tap& tap = rows.taps[k];
        const int32_t stored = source.topDown ? source.height - 1 - tap.index : tap.index;
        plan.rowTaps[k] = resample::RowTap{source.rows + static_cast<size_t>(stored) * stride, stored, tap.weight};
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
    work->average(work->plan, work->palette, work->width, first, end, work->destination);
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
