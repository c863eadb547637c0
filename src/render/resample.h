#pragma once
// Area-averaging resampling of palettised pictures (4 or 8 bits per pixel)
// into 32-bit pixels 0x00RRGGBB, on plain pixel arrays.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/types.h"

struct SourcePicture {
    int32_t width;
    int32_t height;
    int32_t bitsPerPixel;  // 4 or 8
    // Rows in storage order, each SourceStride(width, bitsPerPixel) bytes.
    const uint8_t* rows;
    // True when the first stored row is the picture's top row (a negative
    // height in the file's header); ordinary files store the bottom row first.
    bool topDown;
    // Four bytes per entry: blue, green, red, reserved.
    const uint8_t* colorTable;
    uint32_t colorCount;
};

struct ResampledPicture {
    int32_t width = 0;
    int32_t height = 0;
    // Rows bottom row first, 4 * width bytes each.
    std::vector<uint32_t> pixels;
};

// Bytes per stored row: a whole number of 32-bit words. Zero for a width or
// depth that no picture can have.
uint32_t SourceStride(int32_t width, int32_t bitsPerPixel);

// The destination size: each side times its factor, truncated. False when a
// side would be 0 (nothing to draw) or the picture would be too large to hold.
bool ResampledSize(int32_t width, int32_t height, float horizontalFactor, float verticalFactor, Size* size);

// Resamples into `destination`, size.width * size.height pixels with the
// bottom row first. False, with nothing written, when the source is not a
// 4- or 8-bit picture with pixels.
bool ResampleAreaAverageInto(const SourcePicture& source, float horizontalFactor, float verticalFactor, Size size,
                             uint32_t* destination);

// The ways the resampler can sum: plain arithmetic, SSE2, AVX and AVX-512.
// Each one gives the same pixels; the widest one the processor has is used.
enum class ResampleInstructions { kPortable, kSse2, kAvx, kAvx512 };

// The ways this build on this processor offers, narrowest first.
std::vector<ResampleInstructions> AvailableResampleInstructions();

// The last of them.
ResampleInstructions WidestResampleInstructions();

// One resampling worked out ahead (spans, weights, colour table), whose
// destination rows are then computed in bands: bands that do not overlap may
// be computed at the same time on different threads, and give the same
// pixels whichever thread computes them. Invalid, computing nothing, for the
// sources and sizes ResampleAreaAverageInto refuses.
class ResampleRows {
public:
    ResampleRows(const SourcePicture& source, float horizontalFactor, float verticalFactor, Size size,
                 uint32_t* destination, ResampleInstructions instructions);
    ~ResampleRows();
    ResampleRows(const ResampleRows&) = delete;
    ResampleRows& operator=(const ResampleRows&) = delete;

    bool Valid() const { return work != nullptr; }
    int32_t Rows() const { return rowCount; }
    // The products the whole picture sums, a measure of its work.
    uint64_t Contributions() const { return contributions; }
    // Destination rows first to end - 1 (rows counted from the bottom).
    void Run(int32_t first, int32_t end) const;

private:
    struct Work;
    std::unique_ptr<Work> work;
    int32_t rowCount = 0;
    uint64_t contributions = 0;
};

// ResampleAreaAverageInto with the given way of summing, one that
// AvailableResampleInstructions lists.
bool ResampleAreaAverageInto(const SourcePicture& source, float horizontalFactor, float verticalFactor, Size size,
                             uint32_t* destination, ResampleInstructions instructions);

// The resampled picture; empty (0 x 0) when there is none.
ResampledPicture ResampleAreaAverage(const SourcePicture& source, float horizontalFactor, float verticalFactor);
