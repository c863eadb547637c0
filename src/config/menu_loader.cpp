#include "config/menu_loader.h"

#include <string>

#include "config/formatted_input.h"
#include "config/ini_reader.h"
#include "config/ini_values.h"
#include "config/language_selection.h"
#include "config/saturating.h"
#include "config/scaling.h"
#include "config/wide_text.h"
#include "platform/window.h"

namespace {

using Value = char16_t[kIniValueCapacity];

constexpr const char16_t* kGeneral = u"General";

// A signed halving that rounds toward negative infinity, as an arithmetic
// shift right by one does: -3 halves to -2.
int64_t HalfFloor(int64_t value) {
    return (value - (value < 0 ? 1 : 0)) / 2;
}

// windowRect = 0, 0, width, height from a "%d,%d" size, cleared first.
void ReadWindowSize(const char16_t* text) {
    menu.windowRect = Rect{0, 0, 0, 0};
    int32_t* const targets[] = {&menu.windowRect.right, &menu.windowRect.bottom};
    ScanIntegers(text, "%d,%d", targets, 2);
    menu.windowRect = Scaled(menu.windowRect);
}

// The rectangle is read over its present value, not cleared first.
void ReadRectOver(Rect* rect, const char16_t* text) {
    int32_t* const targets[] = {&rect->left, &rect->top, &rect->right, &rect->bottom};
    ScanIntegers(text, "%d,%d,%d,%d", targets, 4);
    *rect = Scaled(*rect);
}

void ReadButtonPane(const char16_t* text) {
    menu.buttonPaneRect = ParseRect(text, true);
    menu.buttonPane3D = WantsBevel(text);
}

// Section name: prefix, then the language tag ("Prompt-0x09").
std::u16string Section(const char16_t* prefix, const char16_t* tag) {
    return std::u16string(prefix) + tag;
}

std::u16string ButtonSection(int32_t number, const char16_t* tag) {
    const std::string digits = std::to_string(number);
    return u"Button" + std::u16string(digits.begin(), digits.end()) + u"-" + tag;
}

void ReadGeneral() {
    Value value;
    iniReader.GetString(kGeneral, u"AppSize", u"0,0", value);
    ReadWindowSize(value);

    iniReader.GetString(kGeneral, u"AppName", u"", value);
    if (value[0] != 0) CopyWide(menu.title, value);

    iniReader.GetString(kGeneral, u"Edge", u"", value);
    menu.edgeEnabled = value[0] != 0;
    if (menu.edgeEnabled) ReadColor(value, &menu.edgeColor);

    iniReader.GetString(kGeneral, u"BitmapRect", u"0,0,0,0", value);
    menu.bitmapRect = ParseRect(value, true);

    iniReader.GetString(kGeneral, u"BackColor", u"0,0,0", value);
    ReadColor(value, &menu.backColor);

    iniReader.GetString(kGeneral, u"ButtonPaneRect", u"0,0,0,0", value);
    ReadButtonPane(value);

    iniReader.GetString(kGeneral, u"HelpRect", u"0,0,0,0", value);
    menu.helpRect = ParseRect(value, true);

    iniReader.GetString(kGeneral, u"BtnFont", u"", value);
    if (value[0] != 0) RequestFont(&menu.buttonFontRequest, value);
    iniReader.GetString(kGeneral, u"HelpFont", u"", value);
    if (value[0] != 0) RequestFont(&menu.helpFontRequest, value);

    const struct {
        const char16_t* key;
        const char16_t* fallback;
        ColorTriple& color;
    } colors[] = {
        {u"ButtonPaneColor", u"128,128,128", menu.buttonPaneColor},
        {u"BtnColorBk", u"0,0,0", menu.buttonColorBk},
        {u"BtnColorHi", u"192,192,192", menu.buttonColorHi},
        {u"BtnColorLo", u"96,96,96", menu.buttonColorLo},
        {u"HelpColor", u"128,128,128", menu.helpColor},
        {u"BulletColorHi", u"240,32,32", menu.bulletColorHi},
        {u"BulletColorLo", u"240,32,32", menu.bulletColorLo},
    };
    for (const auto& c : colors) {
        iniReader.GetString(kGeneral, c.key, c.fallback, value);
        ReadColor(value, &c.color);
    }
}

// The language's overrides; an empty or missing value keeps the General result.
void ReadPrompt(const char16_t* tag) {
    const std::u16string section = Section(u"Prompt-", tag);
    const char16_t* p = section.c_str();
    Value value;

    iniReader.GetString(p, u"AppName", u"", value);
    if (value[0] != 0) CopyWide(menu.title, value);

    iniReader.GetString(p, u"DefHelp", u"", menu.defaultHelp);

    // A copyright font without a face leaves the font and its colours as
    // they were.
    Value font;
    iniReader.GetString(p, u"Font", u"13,400,0,0,MS Sans Serif", font);
    iniReader.GetString(p, u"Color", u"255,181,0,255,255,0", value);
    if (AfterLastComma(font) != nullptr) {
        RequestFont(&menu.copyrightFontRequest, font);
        ColorTriple& deep = menu.copyrightColor;
        ColorTriple& low = menu.copyrightColorLowDepth;
        int32_t* const targets[] = {&deep.red, &deep.green, &deep.blue, &low.red, &low.green, &low.blue};
        ScanIntegers(value, "%d,%d,%d,%d,%d,%d", targets, 6);
    }

    // A button or help font without a face asks for none: the one before goes.
    iniReader.GetString(p, u"BtnFont", u"", value);
    if (value[0] != 0) RequestFont(&menu.buttonFontRequest, value);
    iniReader.GetString(p, u"HelpFont", u"", value);
    if (value[0] != 0) RequestFont(&menu.helpFontRequest, value);

    iniReader.GetString(p, u"HelpRect", u"", value);
    if (value[0] != 0) ReadRectOver(&menu.helpRect, value);

    iniReader.GetString(p, u"AppSize", u"", value);
    if (value[0] != 0) ReadWindowSize(value);

    iniReader.GetString(p, u"BitmapRect", u"", value);
    if (value[0] != 0) menu.bitmapRect = ParseRect(value, true);

    iniReader.GetString(p, u"BackColor", u"", value);
    if (value[0] != 0) ReadColor(value, &menu.backColor);

    iniReader.GetString(p, u"ButtonPaneRect", u"", value);
    if (value[0] != 0) ReadButtonPane(value);

    // A language's pane colour is the background of its buttons and help area.
    iniReader.GetString(p, u"ButtonPaneColor", u"", value);
    if (value[0] != 0) ReadColor(value, &menu.buttonColorBk);

    // The window takes the picture's size when no size is configured; the
    // picture is already scaled.
    if (menu.windowRect.right == 0 || menu.windowRect.bottom == 0) {
        menu.windowRect = Rect{0, 0, menu.bitmapSize.width, menu.bitmapSize.height};
    }

    const struct {
        const char16_t* key;
        ColorTriple& color;
    } colors[] = {
        {u"BtnColorHi", menu.buttonColorHi},     {u"BtnColorLo", menu.buttonColorLo},
        {u"HelpColor", menu.helpColor},          {u"BulletColorHi", menu.bulletColorHi},
        {u"BulletColorLo", menu.bulletColorLo},
    };
    for (const auto& c : colors) {
        iniReader.GetString(p, c.key, u"", value);
        if (value[0] != 0) ReadColor(value, &c.color);
    }
}

// Grows the window rectangle by the frame, then centres it on the work area.
// Only the work area's right and bottom edges count.
void PlaceWindow(const Rect& frame) {
    const Rect workArea = platform::WorkArea();
    Rect& r = menu.windowRect;
    r = Rect{Saturate(int64_t{r.left} + frame.left), Saturate(int64_t{r.top} + frame.top),
             Saturate(int64_t{r.right} + frame.right), Saturate(int64_t{r.bottom} + frame.bottom)};
    const int64_t dx = HalfFloor(int64_t{workArea.right} - menu.windowRect.right);
    const int64_t dy = HalfFloor(int64_t{workArea.bottom} - menu.windowRect.bottom);
    menu.windowRect = Rect{Saturate(menu.windowRect.left + dx), Saturate(menu.windowRect.top + dy),
                           Saturate(menu.windowRect.right + dx), Saturate(menu.windowRect.bottom + dy)};
}

void ReadCopyright(const char16_t* tag) {
    const std::u16string section = Section(u"Copyright-", tag);
    iniReader.GetString(section.c_str(), u"Name", kBuiltInCopyright, menu.copyrightText);
    Value value;
    iniReader.GetString(section.c_str(), u"Position", u"0,0", value);
    int32_t* const targets[] = {&menu.copyrightPos.x, &menu.copyrightPos.y};
    ScanIntegers(value, "%i,%i", targets, 2);
    menu.copyrightPos = Scaled(menu.copyrightPos);
}

void ReadButton(int32_t number, const char16_t* tag) {
    const std::u16string section = ButtonSection(number, tag);
    const char16_t* b = section.c_str();
    Button& button = menu.buttons[number - 1];
    Value value;

    iniReader.GetString(b, u"Name", u"", button.name);
    iniReader.GetString(b, u"Help", u"", button.help);
    iniReader.GetString(b, u"BtnRect", u"", value);
    button.rect = ParseRect(value, true);
    // Each mode reads its own pair; there is no fallback from one to the other.
    if (menu.unattended) {
        iniReader.GetString(b, u"SilentPath", u"", button.path);
        iniReader.GetString(b, u"SilentArgs", u"", button.args);
    } else {
        iniReader.GetString(b, u"Path", u"", button.path);
        iniReader.GetString(b, u"Args", u"", button.args);
    }
    iniReader.GetString(b, u"PreRun", u"", button.preRun);
    iniReader.GetString(b, u"PreArgs", u"", button.preArgs);
    iniReader.GetString(b, u"PreCond", u"", button.preCond);
    iniReader.GetString(b, u"Exit", u"false", value);
    button.exitAfter = value[0] == u'T' || value[0] == u't';
}

}  // namespace

int32_t LoadMenuConfiguration(char16_t (&languageTag)[kLanguageTagCapacity], const Rect& frame) {
    menu.title[0] = 0;
    menu.languageCount = iniReader.GetInt(kGeneral, u"LanguageCount", 0);
    ReadGeneral();
    ReadLanguages(languageTag);
    ReadPrompt(languageTag);
    PlaceWindow(frame);
    if (menu.bitmapRect.right == 0 || menu.bitmapRect.bottom == 0) {
        menu.bitmapRect = Rect{0, 0, menu.bitmapSize.width, menu.bitmapSize.height};
    }
    ReadCopyright(languageTag);

    // Fewer than two buttons refuse the configuration; the table holds twelve,
    // and a negative count holds none.
    const int32_t buttonCount = iniReader.GetInt(kGeneral, u"ButtonCount", 0);
    menu.buttonCount = buttonCount < 0 ? 0 : buttonCount < kMaxButtons ? buttonCount : kMaxButtons;
    if (buttonCount < 2) return -1;
    for (int32_t number = 1; number <= menu.buttonCount; ++number) ReadButton(number, languageTag);
    return 0;
}
