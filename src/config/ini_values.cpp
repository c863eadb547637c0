#include "config/ini_values.h"

#include "config/formatted_input.h"
#include "config/scaling.h"

Rect ParseRect(const char16_t* text, bool scaled) {
    Rect rect{0, 0, 0, 0};
    int32_t* const targets[] = {&rect.left, &rect.top, &rect.right, &rect.bottom};
    ScanIntegers(text, "%d,%d,%d,%d", targets, 4);
    return scaled ? Scaled(rect) : rect;
}

void ReadColor(const char16_t* text, ColorTriple* color) {
    int32_t* const targets[] = {&color->red, &color->green, &color->blue};
    ScanIntegers(text, "%d,%d,%d", targets, 3);
}

bool WantsBevel(const char16_t* text) {
    for (; text[0] != 0; ++text) {
        if (text[0] == u'3' && (text[1] == u'd' || text[1] == u'D')) return true;
    }
    return false;
}
