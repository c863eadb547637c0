#pragma once
// Drawing: contexts, solid fills, block copies, text and one-pixel lines.
// Colours are 0x00BBGGRR values.

#include <cstdint>

#include "platform/types.h"

namespace platform {

// The paint context of a paint request, and its end. Paint requests do not nest.
[[nodiscard]] DrawingContext BeginWindowPaint(Window window);
void EndWindowPaint(Window window);
// Marks the whole client area as painted: no paint request follows for what
// was invalid until now.
void MarkWindowPainted(Window window);

// The window's own drawing context outside a paint request, the screen's for
// no window; none on failure.
[[nodiscard]] DrawingContext WindowContext(Window window);
void ReleaseWindowContext(Window window, DrawingContext context);

[[nodiscard]] DrawingContext CreateMemoryContext(DrawingContext compatibleWith);
void DeleteMemoryContext(DrawingContext context);

// Keeps a context's selections and modes; Restore puts back the last saved state.
void SaveContext(DrawingContext context);
void RestoreContext(DrawingContext context);

int32_t BitsPerPixel(DrawingContext context);

[[nodiscard]] Brush MakeBrush(uint32_t color);
void ReleaseBrush(Brush brush);
// Fills the half-open rectangle.
void FillRectangle(DrawingContext context, const Rect& rect, Brush brush);

// A solid pen one pixel wide.
[[nodiscard]] Pen MakePen(uint32_t color);
void ReleasePen(Pen pen);
// Selects the pen; returns the pen it replaces.
[[nodiscard]] Pen SelectPen(DrawingContext context, Pen pen);
void MoveTo(DrawingContext context, int32_t x, int32_t y);
// A line from the current position: it covers its first pixel and stops
// before its end pixel.
void DrawLineTo(DrawingContext context, int32_t x, int32_t y);

void SelectBitmap(DrawingContext context, Bitmap bitmap);
void SelectFont(DrawingContext context, Font font);
// An off-screen picture of the given size and bits per pixel; none on failure.
[[nodiscard]] Bitmap CreateOffscreenBitmap(int32_t width, int32_t height, int32_t bitsPerPixel);

void CopyBlock(DrawingContext target, int32_t x, int32_t y, int32_t width, int32_t height, DrawingContext source,
               int32_t sourceX, int32_t sourceY);

void SetTransparentBackground(DrawingContext context);
// Text positions name the text's top-left corner; the current position is not moved.
void AlignTextTopLeft(DrawingContext context);
void SetTextColor(DrawingContext context, uint32_t color);
Size TextExtent(DrawingContext context, const char* text);
void DrawWideText(DrawingContext context, int32_t x, int32_t y, const char16_t* text);
// Narrow text broken into lines between words, clipped to the rectangle.
void DrawWrappedText(DrawingContext context, const char* text, const Rect& rect);

}  // namespace platform
