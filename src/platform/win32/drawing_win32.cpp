#include <windows.h>

#include "platform/drawing.h"
#include "platform/win32/object_tally_win32.h"

namespace platform {

namespace {

HDC ToHdc(DrawingContext context) {
    return reinterpret_cast<HDC>(context);
}

RECT ToRect(const Rect& rect) {
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

// The program paints one window, and paint requests do not nest.
PAINTSTRUCT paintRecord;

}  // namespace

DrawingContext BeginWindowPaint(Window window) {
    return Tallied(reinterpret_cast<DrawingContext>(BeginPaint(reinterpret_cast<HWND>(window), &paintRecord)));
}

void EndWindowPaint(Window window) {
    Untallied(paintRecord.hdc);
    EndPaint(reinterpret_cast<HWND>(window), &paintRecord);
}

void MarkWindowPainted(Window window) {
    ValidateRect(reinterpret_cast<HWND>(window), nullptr);
}

DrawingContext WindowContext(Window window) {
    return Tallied(reinterpret_cast<DrawingContext>(GetDC(reinterpret_cast<HWND>(window))));
}

void ReleaseWindowContext(Window window, DrawingContext context) {
    Untallied(context);
    ReleaseDC(reinterpret_cast<HWND>(window), ToHdc(context));
}

DrawingContext CreateMemoryContext(DrawingContext compatibleWith) {
    return Tallied(reinterpret_cast<DrawingContext>(CreateCompatibleDC(ToHdc(compatibleWith))));
}

void DeleteMemoryContext(DrawingContext context) {
    Untallied(context);
    DeleteDC(ToHdc(context));
}

void SaveContext(DrawingContext context) {
    SaveDC(ToHdc(context));
}

void RestoreContext(DrawingContext context) {
    RestoreDC(ToHdc(context), -1);
}

int32_t BitsPerPixel(DrawingContext context) {
    return GetDeviceCaps(ToHdc(context), BITSPIXEL);
}

Brush MakeBrush(uint32_t color) {
    return Tallied(reinterpret_cast<Brush>(::CreateSolidBrush(color)));
}

void ReleaseBrush(Brush brush) {
    Untallied(brush);
    DeleteObject(reinterpret_cast<HBRUSH>(brush));
}

void FillRectangle(DrawingContext context, const Rect& rect, Brush brush) {
    const RECT area = ToRect(rect);
    FillRect(ToHdc(context), &area, reinterpret_cast<HBRUSH>(brush));
}

Pen MakePen(uint32_t color) {
    return Tallied(reinterpret_cast<Pen>(CreatePen(PS_SOLID, 1, color)));
}

void ReleasePen(Pen pen) {
    Untallied(pen);
    DeleteObject(reinterpret_cast<HPEN>(pen));
}

Pen SelectPen(DrawingContext context, Pen pen) {
    return reinterpret_cast<Pen>(SelectObject(ToHdc(context), reinterpret_cast<HPEN>(pen)));
}

void MoveTo(DrawingContext context, int32_t x, int32_t y) {
    MoveToEx(ToHdc(context), x, y, nullptr);
}

void DrawLineTo(DrawingContext context, int32_t x, int32_t y) {
    ::LineTo(ToHdc(context), x, y);
}

void SelectBitmap(DrawingContext context, Bitmap bitmap) {
    SelectObject(ToHdc(context), reinterpret_cast<HBITMAP>(bitmap));
}

void SelectFont(DrawingContext context, Font font) {
    SelectObject(ToHdc(context), reinterpret_cast<HFONT>(font));
}

Bitmap CreateOffscreenBitmap(int32_t width, int32_t height, int32_t bitsPerPixel) {
    return Tallied(reinterpret_cast<Bitmap>(CreateBitmap(width, height, 1, static_cast<UINT>(bitsPerPixel), nullptr)));
}

void CopyBlock(DrawingContext target, int32_t x, int32_t y, int32_t width, int32_t height, DrawingContext source,
               int32_t sourceX, int32_t sourceY) {
    BitBlt(ToHdc(target), x, y, width, height, ToHdc(source), sourceX, sourceY, SRCCOPY);
}

void SetTransparentBackground(DrawingContext context) {
    SetBkMode(ToHdc(context), TRANSPARENT);
}

void AlignTextTopLeft(DrawingContext context) {
    SetTextAlign(ToHdc(context), TA_LEFT | TA_TOP | TA_NOUPDATECP);
}

void SetTextColor(DrawingContext context, uint32_t color) {
    ::SetTextColor(ToHdc(context), color);
}

Size TextExtent(DrawingContext context, const char* text) {
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(ToHdc(context), text, lstrlenA(text), &extent);
    return Size{extent.cx, extent.cy};
}

void DrawWideText(DrawingContext context, int32_t x, int32_t y, const char16_t* text) {
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(text);
    TextOutW(ToHdc(context), x, y, wide, lstrlenW(wide));
}

void DrawWrappedText(DrawingContext context, const char* text, const Rect& rect) {
    RECT area = ToRect(rect);
    DrawTextA(ToHdc(context), text, -1, &area, DT_WORDBREAK);
}

}  // namespace platform
