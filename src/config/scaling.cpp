#include "config/scaling.h"

#include "config/menu_model.h"

void ScaleValue(int32_t& value) {
    const double product = static_cast<double>(value) * static_cast<double>(menu.scale);
    const float rounded = static_cast<float>(value >= 0 ? product + 0.5 : product - 0.5);
    // 2^31 is the first float beyond the 32-bit range on either side.
    if (rounded >= 2147483648.0f) {
        value = INT32_MAX;
    } else if (rounded <= -2147483648.0f) {
        value = INT32_MIN;
    } else {
        value = static_cast<int32_t>(rounded);
    }
}

void ScaleRect(Rect& rect) {
    ScaleValue(rect.left);
    ScaleValue(rect.top);
    ScaleValue(rect.right);
    ScaleValue(rect.bottom);
}

void ScalePoint(Point& point) {
    ScaleValue(point.x);
    ScaleValue(point.y);
}
