#pragma once
// The menu's scale applied to configured coordinates and font heights.

#include <cstdint>

#include "platform/types.h"

// A configured coordinate or font height times the menu's scale, rounded half
// away from zero through a single-precision float. Results beyond the 32-bit
// range saturate.
[[nodiscard]] int32_t Scaled(int32_t value);
[[nodiscard]] Rect Scaled(const Rect& rect);
[[nodiscard]] Point Scaled(const Point& point);
