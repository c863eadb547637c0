#pragma once
// Bitmap files.

#include <cstdint>

#include "platform/types.h"

namespace platform {

// Loads a bitmap file with the loader's flags; none on failure.
Bitmap LoadBitmapFile(const char* name, uint32_t flags);
// Width and height in pixels; false when they cannot be read.
bool BitmapSize(Bitmap bitmap, Size* size);
void ReleaseBitmap(Bitmap bitmap);

}  // namespace platform
