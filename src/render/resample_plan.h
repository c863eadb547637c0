#pragma once
// What the resampler's files share: the plan of one resampling, worked out
// once in resample.cpp, and the ways of summing that average its rows, each
// in a file of its own (resample_portable.cpp, resample_sse2.cpp,
// resample_avx.cpp, resample_avx512.cpp).

#include <cstdint>
#include <vector>

#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__))
#define TESSALINE_RESAMPLE_X86 1
#endif

namespace resample {

struct RowTap {
    const uint8_t* row;
    int32_t stored;  // the row's place in storage order
    double weight;
};

// A colour table entry, blue, green, red and 0 (the order of a destination
// pixel's bytes), times the weight of one source row. A channel times a
// weight is exact in double precision (8 by 24 bits), so (channel * weightY)
// * weightX rounds the same exact value once, as (channel * weightX) *
// weightY does: scaling the table once per row leaves one multiplication per
// contribution.
struct Entry {
    double channel[4];
};

// Columns with the same number of taps are grouped, whether neighbours or
// not, so that no lane sums padding: shrinking 1920 columns by 0.79777777,
// 384 of them have three taps and the others two. Each lane stores its
// pixel at its own column; a group of neighbouring columns (at 0.5 and 0.75,
// every column has two taps) stores its pixels in one go. A group is as
// wide as its way of summing asks (SummingWay::group).
struct Plan {
    std::vector<uint32_t> groupBegin;  // the taps of group g, a group's width per tap position, start at groupBegin[g]
    std::vector<uint32_t> tapColumns;  // each tap's source column
    std::vector<double> tapWeights;
    // For looking source pixels up 64 taps at a time: for each 64 taps, the
    // first source column they read, -1 when their columns lie 256 or more
    // apart, and whether they lie 128 or more apart; each tap's column
    // counted from there (to a whole number of 64).
    std::vector<int32_t> chunkWindow;
    std::vector<uint8_t> chunkWide;
    std::vector<uint8_t> tapWithin;
    std::vector<int32_t> groupColumns;  // a group's width per group: the lanes' destination columns
    std::vector<uint8_t> groupRun;      // 1 where those columns follow each other
    std::vector<uint32_t> rowBegin;  // rowTaps[rowBegin[y]] up to rowBegin[y + 1] serve row y
    std::vector<RowTap> rowTaps;
    uint32_t tallest = 0;  // the most source rows of one destination row
    int32_t sourceWidth = 0;
    uint32_t sourceStride = 0;  // bytes per source row
};

// Destination rows first to end - 1, each `width` pixels, from the colour
// table `palette`.
using AverageRows = void (*)(const Plan& plan, const Entry* palette, int32_t width, int32_t first, int32_t end,
                             uint32_t* destination);

// One way of summing: how many destination columns it sums side by side,
// and its averaging of 8- and 4-bit pictures.
struct SummingWay {
    uint32_t group;
    AverageRows eightBits;
    AverageRows fourBits;
};

extern const SummingWay kPortableSumming;
#ifdef TESSALINE_RESAMPLE_X86
extern const SummingWay kSse2Summing;
extern const SummingWay kAvxSumming;
extern const SummingWay kAvx512Summing;
#endif

}  // namespace resample
