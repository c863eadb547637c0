#include "config/menu_model.h"

#include "config/wide_text.h"

// Defined here rather than in the declaration, so that the model is set up
// when the program starts instead of being stored, nearly all zeros, in the
// executable file: its texts make it some 90 KB.
Menu::Menu() = default;

Menu menu;

uint32_t ToColorValue(const ColorTriple& color) {
    auto low8 = [](int32_t component) { return static_cast<uint32_t>(component) & 0xFFu; };
    return low8(color.red) | (low8(color.green) << 8) | (low8(color.blue) << 16);
}

void RequestFont(FontRequest* request, const char16_t* value) {
    request->asked = true;
    CopyWide(request->value, value);
}
