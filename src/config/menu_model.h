#pragma once
// The one process-wide record of everything the menu shows and does. Plain
// data: the loader, start-up, the painter, the window procedure and the
// launcher read and write its fields directly.

#include <cstdint>

#include "platform/types.h"

constexpr int kMaxButtons = 12;
constexpr int kMaxLanguages = 10;
constexpr int kButtonTextCapacity = 512;
constexpr int kDefaultHelpCapacity = 512;
constexpr int kCopyrightCapacity = 260;
constexpr int kLanguageTagCapacity = 7;
constexpr int kLanguageNameCapacity = 256;
constexpr int kPathCapacity = 260;
constexpr int kFontValueCapacity = 256;
constexpr int kTitleCapacity = 256;

// Red, green and blue as written in install.ini; only the low 8 bits of each
// are ever drawn, so 300 draws as 44 and -1 as 255.
struct ColorTriple {
    int32_t red;
    int32_t green;
    int32_t blue;
};

struct Button {
    Rect rect;
    char16_t name[kButtonTextCapacity];
    char16_t help[kButtonTextCapacity];
    char16_t path[kButtonTextCapacity];  // the silent path in unattended mode
    char16_t args[kButtonTextCapacity];  // the silent arguments in unattended mode
    char16_t preRun[kButtonTextCapacity];
    char16_t preArgs[kButtonTextCapacity];
    char16_t preCond[kButtonTextCapacity];
    bool exitAfter;
};

// A font install.ini asks for, from its last key that named one: made by
// the font step that follows each run of the loader, which then clears
// `asked`. A font never asked for keeps the one made before.
struct FontRequest {
    bool asked;
    char16_t value[kFontValueCapacity];  // "13,400,0,0,MS Sans Serif"
};

struct Menu {
    Menu();

    // Scale and selection state.
    float scale = 1.0f;  // never above 1.0
    int32_t selectedIndex = -1;
    int32_t armedIndex = -1;
    bool isActive = true;
    bool isPressed = false;
    Point lastMousePos{};
    bool pointerInside = false;  // over the client area since its last move there
    platform::TimerId closeTimer = 0;
    uint32_t shownAt = 0;

    // Layout, in scaled pixels.
    Rect windowRect{};
    Rect bitmapRect{};
    Rect buttonPaneRect{};
    bool buttonPane3D = false;
    Rect helpRect{};
    Rect languageBoxRect{};  // position scaled, size unscaled
    Point copyrightPos{};
    Size bitmapSize{};

    // Colours and fonts.
    ColorTriple backColor{};
    ColorTriple buttonPaneColor{};
    ColorTriple buttonColorBk{};
    ColorTriple buttonColorHi{};
    ColorTriple buttonColorLo{};
    ColorTriple helpColor{};
    ColorTriple bulletColorHi{};
    ColorTriple bulletColorLo{};
    ColorTriple edgeColor{};
    bool edgeEnabled = false;
    ColorTriple copyrightColor{};
    ColorTriple copyrightColorLowDepth{};
    platform::Font copyrightFont = nullptr;
    platform::Font buttonFont = nullptr;
    platform::Font helpFont = nullptr;
    FontRequest copyrightFontRequest{};
    FontRequest buttonFontRequest{};
    FontRequest helpFontRequest{};

    // Texts. The title is the last AppName the loader read; empty when it
    // read none, which leaves the window's title as it is.
    char16_t title[kTitleCapacity]{};
    char16_t defaultHelp[kDefaultHelpCapacity]{};
    char16_t copyrightText[kCopyrightCapacity]{};

    // Buttons in display order; entry k is "Button<k+1>" of install.ini.
    Button buttons[kMaxButtons]{};
    int32_t buttonCount = 0;

    // Offered languages.
    char16_t languageTags[kMaxLanguages][kLanguageTagCapacity]{};
    char16_t languageNames[kMaxLanguages][kLanguageNameCapacity]{};
    int32_t languageCount = 0;
    int32_t languageIndex = 0;

    // Environment and handles.
    char programFolder[kPathCapacity]{};  // ends with a backslash
    char iniPath[kPathCapacity]{};
    int32_t osKind = 0;
    int32_t osVersion = 0;  // major * 100 + minor
    bool unattended = false;
    platform::Window mainWindow = nullptr;
    platform::Window languageBox = nullptr;
    platform::NativeProcedure languageBoxOldProc = nullptr;
    platform::Bitmap backgroundBitmap = nullptr;
};

// The process-wide model; it lives until the process ends.
extern Menu menu;

// Asks for the font of `value`, in place of what the request held.
void RequestFont(FontRequest* request, const char16_t* value);

// The low 8 bits of each component as the colour value 0x00BBGGRR.
uint32_t ToColorValue(const ColorTriple& color);
