#pragma once
// Bitmap files.

#include <cstdint>

#include "platform/types.h"

namespace platform {

// Loads a bitmap file with the loader's flags; none on failure.
[[nodiscard]] Bitmap LoadBitmapFile(const char* name, uint32_t flags);
// Width and height in pixels; false when they cannot be read.
[[nodiscard]] bool BitmapSize(Bitmap bitmap, Size* size);
void ReleaseBitmap(Bitmap bitmap);

// What the system tells of a DIB section.
struct DibSection {
    int32_t width;
    int32_t height;        // always positive
    int32_t headerHeight;  // the header's height: negative for top-down rows
    int32_t bitsPerPixel;
    const uint8_t* bits;   // the first stored row
    uint32_t compression;  // 0: plain rows
    int32_t rowBytes;      // bytes from one stored row to the next
};

// Fills `section` (zero-filled first) from the bitmap's description; false
// when the system cannot describe it.
bool DescribeDibSection(Bitmap bitmap, DibSection* section);

// Reads colour-table entries [0, count) of a DIB section, four bytes each
// (blue, green, red, reserved), through a screen-compatible memory context
// that holds the bitmap meanwhile. Returns the number of entries read.
[[nodiscard]] uint32_t ReadDibColorTable(Bitmap bitmap, uint8_t* entries, uint32_t count);

// An uncompressed DIB section of one plane and no colour table (a negative
// height stores rows top-down); `bits` receives its pixel rows. None on
// failure.
[[nodiscard]] Bitmap CreateDibSection(int32_t width, int32_t height, int32_t bitsPerPixel, void** bits);

}  // namespace platform
