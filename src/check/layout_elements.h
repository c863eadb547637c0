#pragma once
// The elements of the menu's window that the layout picture outlines, each
// in a colour of its own: the buttons, the help area, the copyright line and
// the language list, where the loaded menu model places them.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

struct OutlineColor {
    const char* name;
    uint32_t rgb;  // 0xRRGGBB
};

enum class LayoutPart { kButton, kHelpArea, kCopyright, kLanguageList };

struct LayoutElement {
    std::string name;   // as the findings name it: "button 1", "the help area"
    std::string label;  // as the legend names it, with a button's caption
    Rect rect;          // in the window; an empty one is not drawn
    OutlineColor color;
    std::string note;   // how the rectangle was found, when the model does not hold it
    LayoutPart part = LayoutPart::kButton;
    int32_t button = -1;  // the button's index, for a button
};

constexpr OutlineColor kWorkAreaColor{"dark grey", 0x404040};
constexpr OutlineColor kWindowEdgeColor{"white", 0xFFFFFF};

// From the menu model; `windowWidth` bounds the copyright line, whose width
// depends on its font.
std::vector<LayoutElement> LayoutElements(int32_t windowWidth);

inline bool IsEmptyRect(const Rect& r) {
    return r.right <= r.left || r.bottom <= r.top;
}
