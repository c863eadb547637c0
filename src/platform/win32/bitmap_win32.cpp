#include <windows.h>

#include "platform/bitmap.h"

namespace platform {

Bitmap LoadBitmapFile(const char* name, uint32_t flags) {
    return reinterpret_cast<Bitmap>(LoadImageA(nullptr, name, IMAGE_BITMAP, 0, 0, flags));
}

bool BitmapSize(Bitmap bitmap, Size* size) {
    BITMAP description = {};
    if (GetObjectA(reinterpret_cast<HBITMAP>(bitmap), sizeof description, &description) == 0) return false;
    *size = Size{description.bmWidth, description.bmHeight};
    return true;
}

void ReleaseBitmap(Bitmap bitmap) {
    if (bitmap != nullptr) DeleteObject(reinterpret_cast<HBITMAP>(bitmap));
}

}  // namespace platform
