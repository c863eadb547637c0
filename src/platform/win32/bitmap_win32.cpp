#include <windows.h>

#include "platform/bitmap.h"
#include "platform/win32/object_tally_win32.h"

namespace platform {

Bitmap LoadBitmapFile(const char* name, uint32_t flags) {
    return Tallied(reinterpret_cast<Bitmap>(LoadImageA(nullptr, name, IMAGE_BITMAP, 0, 0, flags)));
}

bool BitmapSize(Bitmap bitmap, Size* size) {
    BITMAP description = {};
    if (GetObjectA(reinterpret_cast<HBITMAP>(bitmap), sizeof description, &description) == 0) return false;
    *size = Size{description.bmWidth, description.bmHeight};
    return true;
}

void ReleaseBitmap(Bitmap bitmap) {
    Untallied(bitmap);
    if (bitmap != nullptr) DeleteObject(reinterpret_cast<HBITMAP>(bitmap));
}

Bitmap CreateDibSection(int32_t width, int32_t height, int32_t bitsPerPixel, void** bits) {
    BITMAPINFO info;
    ZeroMemory(&info, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;
    *bits = nullptr;
    return Tallied(reinterpret_cast<Bitmap>(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0)));
}

}  // namespace platform
