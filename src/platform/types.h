#pragma once
// Plain types shared by the logic and the platform layer. Handles are opaque
// pointers; only src/platform/win32 knows what lies behind them.

#include <cstdint>

struct Rect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct Point {
    int32_t x;
    int32_t y;
};

struct Size {
    int32_t width;
    int32_t height;
};

namespace platform {

struct WindowObject;
struct DrawingContextObject;
struct FontObject;
struct BitmapObject;
struct LibraryObject;
struct FileObject;
struct InstanceObject;
struct BrushObject;
struct PenObject;
struct NativeProcedureObject;
struct ThreadObject;

using Window = WindowObject*;
using DrawingContext = DrawingContextObject*;
using Font = FontObject*;
using Bitmap = BitmapObject*;
using Library = LibraryObject*;
using File = FileObject*;
using Instance = InstanceObject*;
using Brush = BrushObject*;
using Pen = PenObject*;
// A window procedure of the system's own, kept to call on.
using NativeProcedure = NativeProcedureObject*;
using TimerId = uintptr_t;
using Thread = ThreadObject*;

// The window system's message handler, with its parameters as plain integers.
using WindowProcedure = intptr_t (*)(Window window, uint32_t message, uintptr_t first, intptr_t second);

}  // namespace platform
