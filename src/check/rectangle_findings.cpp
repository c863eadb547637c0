#include "check/rectangle_findings.h"

#include <algorithm>
#include <cstdint>

#include "check/ini_text.h"
#include "config/ini_reader.h"
#include "config/menu_model.h"

namespace {

// The line that set a layout value: the language's own key when it has a
// value, else General's.
int32_t LayoutLine(const std::u16string& tag, const char16_t* key) {
    const std::u16string prompt = u"Prompt-" + tag;
    const int32_t own = iniReader.KeyLine(prompt.c_str(), key);
    if (own != 0 && !IniValue(prompt, key).empty()) return own;
    return iniReader.KeyLine(kGeneral, key);
}

}  // namespace

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
