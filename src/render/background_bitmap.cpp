#include "render/background_bitmap.h"

#include "platform/bitmap.h"

namespace {
constexpr uint32_t kLoadFromFileInColor = 0x0012;  // LR_LOADFROMFILE | LR_COLOR
}

// Until resampling is built the picture is shown at its own size, whatever
// the factors.
platform::Bitmap LoadBackgroundBitmap(const char* name, float /*horizontalFactor*/, float /*verticalFactor*/) {
    return platform::LoadBitmapFile(name, kLoadFromFileInColor);
}
