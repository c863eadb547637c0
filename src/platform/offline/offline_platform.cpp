// The offline platform: answers from settings, no windows, no drawing. It
// defines every operation of the window, drawing, font, bitmap and system
// areas, so that a tool linked with it never takes one of the build's own.
#include "platform/offline/offline_platform.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/bitmap.h"
#include "platform/drawing.h"
#include "platform/font.h"
#include "platform/system.h"
#include "platform/window.h"

namespace platform {
namespace offline {

namespace {

Settings settings;
std::vector<ShownBox> shownBoxes;

// Fonts exist only as numbers; the face asked for is the face in use.
std::vector<FontDescription> fonts;

}  // namespace

Settings& CurrentSettings() {
    return settings;
}

const std::vector<ShownBox>& ShownBoxes() {
    return shownBoxes;
}

void ForgetShownBoxes() {
    shownBoxes.clear();
}

}  // namespace offline

using offline::settings;

// System.
bool OwnModulePath(char*, uint32_t) {
    return false;
}

uint16_t UserDefaultLanguageId() {
    return settings.userLanguageId;
}

void EnumerateInstalledLocales(bool (*visit)(const char* identifier, void* context), void* context) {
    // Each installed language as the system names a locale: eight hexadecimal
    // digits, its primary language with the first sublanguage.
    auto offer = [&](uint32_t primary) {
        char identifier[16];
        std::snprintf(identifier, sizeof identifier, "%08x", 0x0400u | (primary & 0x3FFu));
        return visit(identifier, context);
    };
    if (settings.everyLocaleInstalled) {
        for (uint32_t primary = 1; primary <= 0x3FF; ++primary) {
            if (!offer(primary)) return;
        }
        return;
    }
    for (uint16_t primary : settings.installedLanguages) {
        if (!offer(primary)) return;
    }
}

void RestrictLibrarySearchToSystemFolder() {}

Library LoadSystemLibrary(const char*) {
    return nullptr;
}

bool CallWaitNoPendingInstallEvents(Library, uint32_t, uint32_t*) {
    return false;
}

void UnloadLibrary(Library) {}

// Windows: there are none.
Window FindTopLevelWindow(const char*) {
    return nullptr;
}
void BringToForeground(Window) {}
Window LastActivePopup(Window) {
    return nullptr;
}

DrawingContext CreateDisplayInfo() {
    return nullptr;
}
int32_t DisplayColorCount(DrawingContext) {
    return settings.displayColors;
}
void ReleaseDisplayInfo(DrawingContext) {}

Rect WorkArea() {
    return settings.workArea;
}

// Only the menu's own pop-up style has no frame; a tool that needs the frame
// of another style has no system to ask, so none is added.
void GrowByFrame(Rect*, uint32_t, uint32_t) {}

bool RegisterWindowClass(const char*, WindowProcedure, int) {
    return true;
}
void UnregisterWindowClass(const char*) {}
Window CreateTopLevelWindow(uint32_t, const char*, const char*, uint32_t, int32_t, int32_t, int32_t, int32_t) {
    return nullptr;
}
void ShowTopLevelWindow(Window, int) {}
void PaintNow(Window) {}
void DestroyTopLevelWindow(Window) {}
bool DispatchNextMessage() {
    return false;
}
void PostQuitRequest() {}
intptr_t DefaultWindowProcedure(Window, uint32_t, uintptr_t, intptr_t) {
    return 0;
}

void ShowMessageBox(Window, const char* text, const char* title, uint32_t flags) {
    offline::shownBoxes.push_back(offline::ShownBox{text, title, flags});
}

void SetWindowTitle(Window, const char*) {}
void WindowStyles(Window, uint32_t* style, uint32_t* extendedStyle) {
    *style = 0;
    *extendedStyle = 0;
}
void RequestRepaint(Window) {}
Window CreateChildWindow(const char*, const char*, uint32_t, int32_t, int32_t, int32_t, int32_t, Window, Instance) {
    return nullptr;
}
Instance InstanceFromCreation(intptr_t) {
    return nullptr;
}
NativeProcedure ReplaceWindowProcedure(Window, WindowProcedure) {
    return nullptr;
}
intptr_t CallNativeProcedure(NativeProcedure, Window, uint32_t, uintptr_t, intptr_t) {
    return 0;
}
void ListReset(Window) {}
void ListAdd(Window, const char*) {}
void ListSelect(Window, int32_t) {}
int32_t ListSelection(Window) {
    return -1;
}
void SetKeyboardFocus(Window) {}
bool IsShiftHeld() {
    return false;
}
bool IsChildOf(Window, Window) {
    return false;
}
uint32_t TickCount() {
    return 0;
}
void Wait(uint32_t) {}
TimerId StartTimer(Window, uint32_t) {
    return 0;
}
void StopTimer(Window, TimerId) {}
void SendCloseMessage(Window) {}

// Drawing: nothing is drawn.
DrawingContext BeginWindowPaint(Window) {
    return nullptr;
}
void EndWindowPaint(Window) {}
void MarkWindowPainted(Window) {}
DrawingContext WindowContext(Window) {
    return nullptr;
}
void ReleaseWindowContext(Window, DrawingContext) {}
DrawingContext CreateMemoryContext(DrawingContext) {
    return nullptr;
}
void DeleteMemoryContext(DrawingContext) {}
void SaveContext(DrawingContext) {}
void RestoreContext(DrawingContext) {}
int32_t BitsPerPixel(DrawingContext) {
    return settings.displayColors == -1 ? 32 : 8;
}
Brush MakeBrush(uint32_t) {
    return nullptr;
}
void ReleaseBrush(Brush) {}
void FillRectangle(DrawingContext, const Rect&, Brush) {}
Pen MakePen(uint32_t) {
    return nullptr;
}
void ReleasePen(Pen) {}
Pen SelectPen(DrawingContext, Pen) {
    return nullptr;
}
void MoveTo(DrawingContext, int32_t, int32_t) {}
void DrawLineTo(DrawingContext, int32_t, int32_t) {}
void SelectBitmap(DrawingContext, Bitmap) {}
void SelectFont(DrawingContext, Font) {}
Bitmap CreateOffscreenBitmap(int32_t, int32_t, int32_t) {
    return nullptr;
}
void CopyBlock(DrawingContext, int32_t, int32_t, int32_t, int32_t, DrawingContext, int32_t, int32_t) {}
void SetTransparentBackground(DrawingContext) {}
void AlignTextTopLeft(DrawingContext) {}
void SetTextColour(DrawingContext, uint32_t) {}
Size TextExtent(DrawingContext, const char*) {
    return Size{0, 0};
}
void DrawWideText(DrawingContext, int32_t, int32_t, const char16_t*) {}
void DrawWrappedText(DrawingContext, const char*, const Rect&) {}

// Bitmaps: none is loaded.
Bitmap LoadBitmapFile(const char*, uint32_t) {
    return nullptr;
}
bool BitmapSize(Bitmap, Size*) {
    return false;
}
void ReleaseBitmap(Bitmap) {}
bool DescribeDibSection(Bitmap, DibSection* section) {
    *section = DibSection{};
    return false;
}
uint32_t ReadDibColorTable(Bitmap, uint8_t*, uint32_t) {
    return 0;
}
Bitmap CreateDibSection(int32_t, int32_t, int32_t, void** bits) {
    *bits = nullptr;
    return nullptr;
}

// Fonts: the system's default GUI font of a Western system, and every face
// asked for is installed.
bool DefaultGuiFont(FontDescription* description) {
    *description = FontDescription{-11, 400, 0, 0, 0, "MS Shell Dlg"};
    return true;
}

Font CreateFontFrom(const FontDescription& description) {
    offline::fonts.push_back(description);
    return reinterpret_cast<Font>(offline::fonts.size());
}

bool FaceInUse(Font font, char* face, uint32_t capacity) {
    const size_t index = reinterpret_cast<uintptr_t>(font) - 1;
    if (index >= offline::fonts.size() || capacity == 0) return false;
    std::snprintf(face, capacity, "%s", offline::fonts[index].faceName);
    return true;
}

FaceCheckContext::FaceCheckContext() {}
FaceCheckContext::~FaceCheckContext() {}

void ReleaseFont(Font) {}

}  // namespace platform
