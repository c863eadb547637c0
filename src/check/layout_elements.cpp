#include "check/layout_elements.h"

#include <algorithm>

#include "config/menu_model.h"
#include "config/saturating.h"
#include "platform/font.h"
#include "platform/offline/offline_platform.h"
#include "platform/text.h"

namespace {

constexpr OutlineColor kButtonColors[kMaxButtons] = {
    {"red", 0xE6194B},  {"green", 0x3CB44B},    {"blue", 0x4363D8},  {"orange", 0xF58231},
    {"purple", 0x911EB4}, {"lime", 0xBFEF45},   {"pink", 0xFABED4},  {"teal", 0x469990},
    {"lavender", 0xDCBEFF}, {"brown", 0x9A6324}, {"maroon", 0x800000}, {"mint", 0xAAFFC3},
};
constexpr OutlineColor kHelpColor{"cyan", 0x42D4F4};
constexpr OutlineColor kCopyrightColor{"yellow", 0xFFE119};
constexpr OutlineColor kLanguageListColor{"magenta", 0xF032E6};

// A window's own font, which draws the line when no copyright font was made,
// and what a font of height 0 gets: about 16 pixels at 96 dots per inch.
constexpr int32_t kUsualFontHeight = 16;

int32_t CopyrightHeight() {
    platform::FontDescription description{};
    if (!platform::offline::DescriptionOf(menu.copyrightFont, &description) || description.height == 0) {
        return kUsualFontHeight;
    }
    return description.height < 0 ? -description.height : description.height;
}

}  // namespace

std::vector<LayoutElement> LayoutElements(int32_t windowWidth) {
    std::vector<LayoutElement> elements;
    const int32_t count = std::min(menu.buttonCount, kMaxButtons);
    for (int32_t i = 0; i < count; ++i) {
        char caption[kNarrowCapacity];
        const std::string name = "button " + std::to_string(i + 1);
        elements.push_back(LayoutElement{name, name + " \"" + ToNarrow(caption, menu.buttons[i].name) + "\"",
                                         menu.buttons[i].rect, kButtonColors[i], "", LayoutPart::kButton, i});
    }
    elements.push_back(LayoutElement{"the help area", "help area", menu.helpRect, kHelpColor, "", LayoutPart::kHelpArea});
    if (menu.copyrightText[0] != 0) {
        // Its text's width depends on the font: the outline takes the room to
        // the window's right edge, one line high.
        const Point& p = menu.copyrightPos;
        const int32_t height = CopyrightHeight();
        const Rect line{p.x, p.y, std::max(windowWidth, SaturatingAdd(p.x, 1)), SaturatingAdd(p.y, height)};
        elements.push_back(LayoutElement{"the copyright line's row", "copyright line", line, kCopyrightColor,
                                         "from its position to the window's right edge, " + std::to_string(height) +
                                             " pixels high: the text's width depends on the font",
                                         LayoutPart::kCopyright});
    }
    if (menu.languageCount > 1) {
        elements.push_back(LayoutElement{"the language list", "language list", menu.languageBoxRect,
                                         kLanguageListColor, "dropped down", LayoutPart::kLanguageList});
    }
    return elements;
}
