#include "config/menu_model.h"

Menu menu;

uint32_t ToColorValue(const ColorTriple& color) {
    auto low8 = [](int32_t component) { return static_cast<uint32_t>(component) & 0xFFu; };
    return low8(color.red) | (low8(color.green) << 8) | (low8(color.blue) << 16);
}
