#include <windows.h>

#include "platform/bitmap.h"
#include "platform/holders.h"
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

bool DescribeDibSection(Bitmap bitmap, DibSection* section) {
    *section = DibSection{};
    DIBSECTION description;
    ZeroMemory(&description, sizeof description);
    if (GetObjectA(reinterpret_cast<HBITMAP>(bitmap), sizeof description, &description) == 0) return false;
    section->width = description.dsBm.bmWidth;
    section->height = description.dsBm.bmHeight;
    section->headerHeight = description.dsBmih.biHeight;
    section->bitsPerPixel = description.dsBm.bmBitsPixel;
    section->bits = static_cast<const uint8_t*>(description.dsBm.bmBits);
    section->compression = description.dsBmih.biCompression;
    section->rowBytes = description.dsBm.bmWidthBytes;
    return true;
}

uint32_t ReadDibColorTable(Bitmap bitmap, uint8_t* entries, uint32_t count) {
    const OwnedMemoryContext context(CreateMemoryContext(nullptr));
    HDC memory = reinterpret_cast<HDC>(context.Get());
    if (memory == nullptr) return 0;
    HGDIOBJ previous = SelectObject(memory, reinterpret_cast<HBITMAP>(bitmap));
    const UINT read = GetDIBColorTable(memory, 0, count, reinterpret_cast<RGBQUAD*>(entries));
    SelectObject(memory, previous);
    return read;
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
