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

// An uncompressed DIB section of one plane and no colour table (a negative
// height stores rows top-down); `bits` receives its pixel rows. None on
// failure.
[[nodiscard]] Bitmap CreateDibSection(int32_t width, int32_t height, int32_t bitsPerPixel, void** bits);

}  // namespace platform
