#include "config/scaling.h"

#include "config/menu_model.h"

int32_t Scaled(int32_t value) {
    const double product = static_cast<double>(value) * static_cast<double>(menu.scale);
    const float rounded = static_cast<float>(value >= 0 ? product + 0.5 : product - 0.5);
    // 2^31 is the first float beyond the 32-bit range on either side.
    if (rounded >= 2147483648.0f) return INT32_MAX;
    if (rounded <= -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(rounded);
}

Rect Scaled(const Rect& rect) {
    return Rect{Scaled(rect.left), Scaled(rect.top), Scaled(rect.right), Scaled(rect.bottom)};
}

Point Scaled(const Point& point) {
    return Point{Scaled(point.x), Scaled(point.y)};
}
