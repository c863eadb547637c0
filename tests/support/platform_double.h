#pragma once
// A recording stand-in for the platform layer, for host unit tests of logic
// that calls platform operations. Tests set what the "system" answers and
// read back what the logic asked of it.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/font.h"
#include "platform/os_version.h"
#include "platform/types.h"

struct RecordedBox {
    platform::Window owner;
    std::string text;
    std::string caption;
    uint32_t flags;
};

struct CreatedFont {
    platform::FontDescription description;
    bool released;
};

// One drawing operation, as "fill", "text", "line", "copy" with its numbers.
struct DrawnOperation {
    std::string kind;
    platform::DrawingContext context;
    Rect rect;       // fill: the rectangle; copy: x, y, width, height; line: from and to
    uint32_t color;  // fill and line: the colour; text: the text colour
    std::string text;
};

// A top-level window the logic created, with what it asked for.
struct CreatedWindow {
    uint32_t extendedStyle;
    std::string className;
    std::string title;
    uint32_t style;
    Rect placement;  // x, y, width, height
};

struct PlatformDouble {
    // Answers of start-up's system.
    std::string ownPath;  // the program's own file; empty: it cannot be had
    bool installerPresent = false;  // the device installer's library loads
    bool installerHasWait = true;   // and exports its wait
    uint32_t installerResult = 0;   // what the wait returns
    platform::Window openMenu = nullptr;       // a menu window of another copy
    platform::Window openMenuPopup = nullptr;  // its last active pop-up; none: the menu itself
    int32_t displayColors = -1;
    std::map<std::string, Size> loadableBitmaps;  // by name: what the loader delivers
    bool bitmapSizeReadable = true;
    bool classRegisters = true;
    bool windowCreates = true;
    bool versionAnswers = true;
    platform::SystemVersion systemVersion{2, 6, 1};
    bool productTypeReadable = true;
    std::string productType = "WinNT";
    // The operation of `calls` that fails with an exception instead.
    std::string throwIn;
    // Runs while each process is being created.
    std::function<void()> whileStarting;

    // Answers.
    Rect workArea{0, 0, 1024, 738};
    uint16_t userLanguageId = 0x0409;
    std::vector<std::string> installedLocales{"00000409"};
    Rect frame{0, 0, 0, 0};  // added to a rectangle's edges when it is framed
    platform::FontDescription defaultGuiFont{-11, 400, 0, 0, 1, "MS Shell Dlg"};
    // Faces the system has; any other face is replaced by `substituteFace`.
    std::vector<std::string> installedFaces{"MS Sans Serif", "Tahoma", "MS Shell Dlg"};
    std::string substituteFace = "Liberation Sans";
    bool shiftHeld = false;

    // Records.
    std::vector<std::string> titles;
    int repaints = 0;
    std::vector<CreatedFont> fonts;  // index + 1 is the font handle
    std::vector<std::string> listEntries;
    int32_t listSelection = -1;
    std::vector<RecordedBox> boxes;
    platform::Window focus = nullptr;
    int pointerLeaveRequests = 0;
    int quitRequests = 0;
    std::vector<uint32_t> forwardedMessages;  // reached the list's own procedure
    int32_t textHeight = 13;                 // of any text in any font
    int32_t bitsPerPixel = 32;               // of every drawing context
    std::vector<DrawnOperation> drawn;
    int openObjects = 0;                     // contexts, brushes, pens and pictures not yet released
    int savedStates = 0;                     // saves not yet restored
    int windowContextsTaken = 0;             // draws straight onto the window
    int faceCheckContexts = 0;               // screen contexts held for face checks, live
    int faceChecks = 0;
    int faceChecksWithoutContext = 0;        // each took a screen context of its own
    bool paintContextFails = false;          // BeginWindowPaint gives none
    std::vector<int> failingPens;            // MakePen fails on these calls, counted from 1
    int pensMade = 0;
    int pensReleasedWhileSelected = 0;       // such a pen lives on
    std::vector<platform::Window> markedPainted;
    // Accessibility: events raised, as {event, child}; object requests answered; disconnections.
    std::vector<std::pair<uint32_t, int32_t>> accessibleEvents;
    int objectRequests = 0;
    int accessibleDisconnects = 0;

    // Records of start-up: its operations in order, as "Operation argument".
    std::vector<std::string> calls;
    std::vector<CreatedWindow> windows;
    std::vector<platform::Window> broughtToFront;
    int liveDisplayInfos = 0;
    std::vector<std::string> startedCommandLines;
};

// The stand-in's state; Reset() before each test.
extern PlatformDouble fake;
void ResetPlatformDouble();

// Handles the stand-in gives out.
platform::Window FakeWindow(uintptr_t n);
// The pen a drawing context holds now; every context starts with its own.
platform::Pen SelectedPen(platform::DrawingContext context);
platform::Pen StockPen();
const CreatedFont& FontOf(platform::Font font);
size_t LiveFontCount();
