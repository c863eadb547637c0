#pragma once
// Arithmetic on coordinates, which install.ini may put anywhere in the 32-bit
// range: sums and differences are formed in 64 bits and held at the ends of
// the range, so that a hostile rectangle gives a defined result, never an
// overflow.

#include <cstdint>

#include "platform/types.h"

inline int32_t Saturate(int64_t value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

inline int32_t SaturatingAdd(int32_t a, int64_t b) {
    return Saturate(int64_t{a} + b);
}

// right - left and bottom - top; negative for a rectangle turned inside out.
inline int32_t RectWidth(const Rect& rect) {
    return Saturate(int64_t{rect.right} - rect.left);
}

inline int32_t RectHeight(const Rect& rect) {
    return Saturate(int64_t{rect.bottom} - rect.top);
}
