#include "check/rectangle_findings.h"

#include <algorithm>
#include <cstdint>

#include "check/ini_text.h"
#include "check/layout_elements.h"
#include "check/layout_findings.h"
#include "config/ini_reader.h"
#include "config/menu_model.h"

namespace {

// The key that places an element, and its line.
int32_t PlacingLine(const LayoutElement& element, const std::u16string& tag) {
    switch (element.part) {
        case LayoutPart::kButton:
            return iniReader.KeyLine(ButtonSection(element.button + 1, tag).c_str(), u"BtnRect");
        case LayoutPart::kHelpArea:
            return LayoutLine(tag, u"HelpRect");
        case LayoutPart::kCopyright:
            return iniReader.KeyLine((u"Copyright-" + tag).c_str(), u"Position");
        case LayoutPart::kLanguageList:
            return iniReader.KeyLine((u"LangCombo-" + tag).c_str(), u"BtnRect");
    }
    return 0;
}

bool Contains(const Rect& outer, const Rect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The height of a closed drop-down list at the menu's usual font: its
// rectangle also holds the part that drops down over what lies below, which
// covers that only while the list is open.
constexpr int32_t kClosedListHeight = 20;

}  // namespace

// What overlaps in one language's layout. The copyright line's width depends
// on its font, which the check cannot measure: only its row's reaching below
// the window is taken.
void CheckOverlaps(CheckContext& check, const std::u16string& tag) {
    const int32_t width = menu.windowRect.right - menu.windowRect.left;
    const int32_t height = menu.windowRect.bottom - menu.windowRect.top;
    if (width <= 0 || height <= 0) return;
    std::vector<LayoutElement> elements = LayoutElements(width);
    std::vector<LayoutElement> compared;
    for (LayoutElement& element : elements) {
        if (element.part == LayoutPart::kLanguageList) {
            element.rect.bottom = std::min(element.rect.bottom, element.rect.top + kClosedListHeight);
            element.name = "the language list's closed box";
        }
        if (element.part != LayoutPart::kCopyright) compared.push_back(element);
        const Rect& r = element.rect;
        const int32_t positionLine = PlacingLine(element, tag);
        if (element.part == LayoutPart::kCopyright && positionLine != 0 && r.top < height && r.bottom > height &&
            r.left < width) {
            check.Warning(positionLine,
                          "the copyright line at " + std::to_string(r.left) + "," + std::to_string(r.top) + " is " +
                              std::to_string(r.bottom - r.top) + " pixels high and reaches below the window (" +
                              std::to_string(width) + "x" + std::to_string(height) + ")",
                          "its lower part is cut off");
        }
    }
    const Rect window{0, 0, width, height};
    for (const LayoutFault& fault : LayoutFaults(compared, window, Size{width, height})) {
        if (fault.kind != LayoutFaultKind::kOverlap) continue;
        const LayoutElement& first = compared[fault.element];
        const LayoutElement& second = compared[fault.other];
        const int32_t line = LineOr(PlacingLine(second, tag), PlacingLine(first, tag));
        // The pointer highlights the last of overlapping buttons: one wholly
        // under a later one is never highlighted by it.
        if (first.part == LayoutPart::kButton && second.part == LayoutPart::kButton &&
            Contains(second.rect, first.rect)) {
            check.Error(line, first.name + " lies wholly under " + second.name + " (" + RectText(second.rect) +
                                  "): the pointer never highlights it, so it cannot be clicked",
                        "give each button a place of its own");
        } else {
            check.Warning(line, fault.text, "both are drawn there, one over the other");
        }
    }
}

void CheckRectangles(CheckContext& check, const std::u16string& tag) {
    const int32_t width = menu.windowRect.right - menu.windowRect.left;
    const int32_t height = menu.windowRect.bottom - menu.windowRect.top;
    if (width <= 0 || height <= 0) return;
    const std::string window = std::to_string(width) + "x" + std::to_string(height);
    auto inside = [&](const Rect& r, const std::string& what, int32_t line) {
        if (line == 0 || (r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0)) return;
        if (r.left < 0 || r.top < 0 || r.right > width || r.bottom > height) {
            check.Warning(line, what + " " + RectText(r) + " reaches outside the window (" + window + ")",
                          "the menu draws only inside its window");
        }
    };
    const int32_t bitmapLine = LayoutLine(tag, u"BitmapRect");
    inside(menu.bitmapRect, bitmapLine != 0 ? "BitmapRect" : "the picture",
           LineOr(bitmapLine, LayoutLine(tag, u"AppSize")));
    inside(menu.buttonPaneRect, "ButtonPaneRect", LayoutLine(tag, u"ButtonPaneRect"));
    inside(menu.helpRect, "HelpRect", LayoutLine(tag, u"HelpRect"));
    const int32_t count = std::min(menu.buttonCount, kMaxButtons);
    for (int32_t i = 0; i < count; ++i) {
        inside(menu.buttons[i].rect, "BtnRect", iniReader.KeyLine(ButtonSection(i + 1, tag).c_str(), u"BtnRect"));
    }
    if (menu.languageCount > 1) {
        inside(menu.languageBoxRect, "the language list's BtnRect",
               iniReader.KeyLine((u"LangCombo-" + tag).c_str(), u"BtnRect"));
    }
    const Point& p = menu.copyrightPos;
    const int32_t positionLine = iniReader.KeyLine((u"Copyright-" + tag).c_str(), u"Position");
    if (positionLine != 0 && (p.x < 0 || p.y < 0 || p.x >= width || p.y >= height)) {
        check.Warning(positionLine,
                      "Position " + std::to_string(p.x) + "," + std::to_string(p.y) + " lies outside the window (" +
                          window + ")",
                      "the copyright line is not seen");
    }
}
