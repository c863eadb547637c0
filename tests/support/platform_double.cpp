#include "support/platform_double.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/accessibility.h"
#include "platform/bitmap.h"
#include "platform/drawing.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/window.h"

PlatformDouble fake;

namespace {

const platform::Window kListWindow = FakeWindow(77);
const platform::Window kMenuWindow = FakeWindow(9);
const platform::NativeProcedure kListOwnProcedure = reinterpret_cast<platform::NativeProcedure>(0x4242);
const platform::Library kInstallerLibrary = reinterpret_cast<platform::Library>(0x3000);
const platform::DrawingContext kDisplayInfo = reinterpret_cast<platform::DrawingContext>(0x3100);
const platform::DrawingContext kPaintContext = reinterpret_cast<platform::DrawingContext>(0x99);
const platform::Pen kStockPen = reinterpret_cast<platform::Pen>(0x2000);
const platform::Bitmap kOffscreenBitmap = reinterpret_cast<platform::Bitmap>(0x5000);

platform::WindowProcedure registeredProcedure = nullptr;
std::vector<std::string> loadedBitmapNames;  // handle 0x6000 + n is loaded name n

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Notes one of start-up's operations; throws when the test asks for it.
void Record(const std::string& call) {
    fake.calls.push_back(call);
    const std::string operation = call.substr(0, call.find(' '));
    if (!fake.throwIn.empty() && operation == fake.throwIn) throw std::bad_alloc();
}

// Pens have handles of their own, so that two pens of one colour differ.
std::map<platform::Pen, uint32_t> livePens;
uintptr_t nextPen = 0x2001;

// Brushes carry their colour in their handle; contexts keep their pen and
// text colour here.
struct ContextState {
    platform::Pen pen = kStockPen;
    uint32_t textColor = 0;
    Point position{0, 0};
};
std::map<platform::DrawingContext, ContextState> contexts;
uintptr_t nextContext = 0x100;

}  // namespace

void ResetPlatformDouble() {
    fake = PlatformDouble{};
    registeredProcedure = nullptr;
    loadedBitmapNames.clear();
    livePens.clear();
    contexts.clear();
}

platform::Window FakeWindow(uintptr_t n) {
    return reinterpret_cast<platform::Window>(0x1000 + n);
}

platform::Pen SelectedPen(platform::DrawingContext context) {
    return contexts[context].pen;
}

platform::Pen StockPen() {
    return kStockPen;
}

const CreatedFont& FontOf(platform::Font font) {
    return fake.fonts.at(reinterpret_cast<uintptr_t>(font) - 1);
}

size_t LiveFontCount() {
    return static_cast<size_t>(
        std::count_if(fake.fonts.begin(), fake.fonts.end(), [](const CreatedFont& f) { return !f.released; }));
}

namespace platform {

bool OwnModulePath(char* buffer, uint32_t capacity) {
    Record("OwnModulePath");
    if (fake.ownPath.empty() || capacity == 0) return false;
    const size_t length = std::min<size_t>(fake.ownPath.size(), capacity - 1);
    std::memcpy(buffer, fake.ownPath.c_str(), length);
    buffer[length] = 0;
    return true;
}

void RestrictLibrarySearchToSystemFolder() {
    Record("RestrictLibrarySearchToSystemFolder");
}

Library LoadSystemLibrary(const char* name) {
    Record(std::string("LoadSystemLibrary ") + name);
    return fake.installerPresent && std::string(name) == "cfgmgr32.dll" ? kInstallerLibrary : nullptr;
}

bool CallWaitNoPendingInstallEvents(Library library, uint32_t timeoutMs, uint32_t* result) {
    Record("CallWaitNoPendingInstallEvents " + std::to_string(timeoutMs));
    if (library != kInstallerLibrary || !fake.installerHasWait) return false;
    *result = fake.installerResult;
    return true;
}

void UnloadLibrary(Library) {
    Record("UnloadLibrary");
}

bool QuerySystemVersion(SystemVersion* version) {
    Record("QuerySystemVersion");
    if (!fake.versionAnswers) return false;
    *version = fake.systemVersion;
    return true;
}

bool ReadMachineValue(const char* keyPath, const char* valueName, char* buffer, uint32_t capacity, uint32_t* size) {
    Record(std::string("ReadMachineValue ") + keyPath + " " + valueName);
    if (!fake.productTypeReadable || fake.productType.size() > capacity) return false;
    std::memcpy(buffer, fake.productType.data(), fake.productType.size());
    *size = static_cast<uint32_t>(fake.productType.size());
    return true;
}

uint16_t UserDefaultLanguageId() {
    return fake.userLanguageId;
}

void EnumerateInstalledLocales(bool (*visit)(const char* identifier, void* context), void* context) {
    for (const std::string& locale : fake.installedLocales) {
        if (!visit(locale.c_str(), context)) return;
    }
}

Rect WorkArea() {
    return fake.workArea;
}

Window FindTopLevelWindow(const char* className) {
    Record(std::string("FindTopLevelWindow ") + className);
    return fake.openMenu;
}

void BringToForeground(Window window) {
    fake.broughtToFront.push_back(window);
}

Window LastActivePopup(Window window) {
    return fake.openMenuPopup != nullptr ? fake.openMenuPopup : window;
}

DrawingContext CreateDisplayInfo() {
    Record("CreateDisplayInfo");
    ++fake.liveDisplayInfos;
    return kDisplayInfo;
}

int32_t DisplayColorCount(DrawingContext) {
    Record("DisplayColorCount");
    return fake.displayColors;
}

void ReleaseDisplayInfo(DrawingContext) {
    Record("ReleaseDisplayInfo");
    --fake.liveDisplayInfos;
}

bool RegisterWindowClass(const char* className, WindowProcedure procedure, int iconId) {
    Record(std::string("RegisterWindowClass ") + className + " " + std::to_string(iconId));
    if (!fake.classRegisters) return false;
    registeredProcedure = procedure;
    return true;
}

void UnregisterWindowClass(const char* className) {
    Record(std::string("UnregisterWindowClass ") + className);
}

// The creation message reaches the class's procedure inside creation, as the
// system sends it.
Window CreateTopLevelWindow(uint32_t extendedStyle, const char* className, const char* title, uint32_t style,
                            int32_t x, int32_t y, int32_t width, int32_t height) {
    Record("CreateTopLevelWindow");
    if (!fake.windowCreates) return nullptr;
    fake.windows.push_back(CreatedWindow{extendedStyle, className, title, style, Rect{x, y, width, height}});
    if (registeredProcedure != nullptr) registeredProcedure(kMenuWindow, msg::kCreate, 0, 0);
    return kMenuWindow;
}

void ShowTopLevelWindow(Window, int showCommand) {
    Record("ShowTopLevelWindow " + std::to_string(showCommand));
}

void PaintNow(Window) {
    Record("PaintNow");
}

// The quit request is the first message.
bool DispatchNextMessage() {
    Record("DispatchNextMessage");
    return false;
}

intptr_t DefaultWindowProcedure(Window, uint32_t, uintptr_t, intptr_t) {
    return 0;
}

Instance InstanceFromCreation(intptr_t) {
    return nullptr;
}

bool IsChildOf(Window parent, Window window) {
    return parent == kMenuWindow && window == kListWindow;
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

bool CreateProcessFromCommandLine(char* commandLine, uint32_t, const char*, uint32_t, int, ProcessInfo* info) {
    fake.startedCommandLines.push_back(commandLine);
    if (fake.whileStarting) fake.whileStarting();
    *info = ProcessInfo{};
    return true;
}

void WaitUntilIdle(Process) {}

void CloseProcessInfo(const ProcessInfo&) {}

intptr_t ShellOpen(Window, const char*, const char*, const char*, int) {
    return 42;
}

uint32_t LastErrorCode() {
    return 0;
}

char* FetchSystemErrorText(uint32_t) {
    return nullptr;
}

void ReleaseSystemErrorText(char*) {}

Bitmap LoadBitmapFile(const char* name, uint32_t flags) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%04X", static_cast<unsigned>(flags));
    Record(std::string("LoadBitmapFile ") + name + " " + hex);
    if (fake.loadableBitmaps.count(name) == 0) return nullptr;
    loadedBitmapNames.push_back(name);
    return reinterpret_cast<Bitmap>(0x6000 + loadedBitmapNames.size() - 1);
}

bool BitmapSize(Bitmap bitmap, Size* size) {
    Record("BitmapSize");
    if (!fake.bitmapSizeReadable) return false;
    *size = fake.loadableBitmaps.at(loadedBitmapNames.at(reinterpret_cast<uintptr_t>(bitmap) - 0x6000));
    return true;
}

// Only factor 1.0 loads the picture here; the resampling path has a stand-in
// of its own (bitmap_loader_double).
Bitmap CreateDibSection(int32_t, int32_t, int32_t, void** bits) {
    *bits = nullptr;
    return nullptr;
}

void GrowByFrame(Rect* rect, uint32_t, uint32_t) {
    rect->left += fake.frame.left;
    rect->top += fake.frame.top;
    rect->right += fake.frame.right;
    rect->bottom += fake.frame.bottom;
}

void WindowStyles(Window, uint32_t* style, uint32_t* extendedStyle) {
    *style = 0;
    *extendedStyle = 0;
}

void SetWindowTitle(Window, const char* title) {
    fake.titles.push_back(title);
}

void RequestRepaint(Window) {
    ++fake.repaints;
}

void ShowMessageBox(Window owner, const char* text, const char* title, uint32_t flags) {
    fake.boxes.push_back(RecordedBox{owner, text, title, flags});
}

Window CreateChildWindow(const char*, const char*, uint32_t, int32_t, int32_t, int32_t, int32_t, Window, Instance) {
    return kListWindow;
}

NativeProcedure ReplaceWindowProcedure(Window, WindowProcedure) {
    return kListOwnProcedure;
}

intptr_t CallNativeProcedure(NativeProcedure procedure, Window, uint32_t message, uintptr_t, intptr_t) {
    if (procedure == kListOwnProcedure) fake.forwardedMessages.push_back(message);
    return 0;
}

void ListReset(Window list) {
    if (list != nullptr) fake.listEntries.clear();
}

void ListAdd(Window list, const char* text) {
    if (list != nullptr) fake.listEntries.push_back(text);
}

void ListSelect(Window list, int32_t index) {
    if (list != nullptr) fake.listSelection = index;
}

int32_t ListSelection(Window list) {
    return list != nullptr ? fake.listSelection : -1;
}

intptr_t AnswerAccessibleObjectRequest(Window, uintptr_t) {
    ++fake.objectRequests;
    return 0x0ACC;
}
void DisconnectAccessibleObject() {
    ++fake.accessibleDisconnects;
}
void RaiseAccessibleEvent(Window, uint32_t event, int32_t child) {
    fake.accessibleEvents.emplace_back(event, child);
}

void SetKeyboardFocus(Window window) {
    fake.focus = window;
}

void TrackPointerLeave(Window) {
    ++fake.pointerLeaveRequests;
}

bool IsShiftHeld() {
    return fake.shiftHeld;
}

void PostQuitRequest() {
    ++fake.quitRequests;
}

bool DefaultGuiFont(FontDescription* description) {
    *description = fake.defaultGuiFont;
    return true;
}

Font CreateFontFrom(const FontDescription& description) {
    fake.fonts.push_back(CreatedFont{description, false});
    return reinterpret_cast<Font>(fake.fonts.size());
}

FaceCheckContext::FaceCheckContext() {
    ++fake.faceCheckContexts;
}

FaceCheckContext::~FaceCheckContext() {
    --fake.faceCheckContexts;
}

bool FaceInUse(Font font, char* face, uint32_t capacity) {
    ++fake.faceChecks;
    if (fake.faceCheckContexts == 0) ++fake.faceChecksWithoutContext;
    const std::string requested = FontOf(font).description.faceName;
    const bool installed = std::any_of(fake.installedFaces.begin(), fake.installedFaces.end(),
                                       [&](const std::string& f) { return Lower(f) == Lower(requested); });
    // The system reports an installed face in its own spelling.
    std::string inUse = fake.substituteFace;
    for (const std::string& f : fake.installedFaces) {
        if (installed && Lower(f) == Lower(requested)) inUse = f;
    }
    std::strncpy(face, inUse.c_str(), capacity - 1);
    face[capacity - 1] = 0;
    return true;
}

void ReleaseFont(Font font) {
    fake.fonts.at(reinterpret_cast<uintptr_t>(font) - 1).released = true;
}

namespace {

uint32_t ColorOf(Brush brush) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(brush) & 0xFFFFFF);
}

uint32_t ColorOf(Pen pen) {
    return pen == kStockPen ? 0 : livePens.at(pen);
}

DrawingContext NewContext() {
    ++fake.openObjects;
    return reinterpret_cast<DrawingContext>(nextContext++);
}

}  // namespace

DrawingContext BeginWindowPaint(Window) {
    return fake.paintContextFails ? nullptr : kPaintContext;
}
void EndWindowPaint(Window) {}
void MarkWindowPainted(Window window) {
    fake.markedPainted.push_back(window);
}
DrawingContext WindowContext(Window) {
    ++fake.windowContextsTaken;
    return NewContext();
}
void ReleaseWindowContext(Window, DrawingContext context) {
    --fake.openObjects;
    contexts.erase(context);
}
DrawingContext CreateMemoryContext(DrawingContext) {
    return NewContext();
}
void DeleteMemoryContext(DrawingContext context) {
    --fake.openObjects;
    contexts.erase(context);
}
void SaveContext(DrawingContext) {
    ++fake.savedStates;
}
void RestoreContext(DrawingContext) {
    --fake.savedStates;
}
int32_t BitsPerPixel(DrawingContext) {
    return fake.bitsPerPixel;
}
Brush MakeBrush(uint32_t color) {
    ++fake.openObjects;
    return reinterpret_cast<Brush>(uintptr_t{0x1000000} | color);
}
void ReleaseBrush(Brush) {
    --fake.openObjects;
}
void FillRectangle(DrawingContext context, const Rect& rect, Brush brush) {
    fake.drawn.push_back(DrawnOperation{"fill", context, rect, ColorOf(brush), ""});
}
Pen MakePen(uint32_t color) {
    ++fake.pensMade;
    if (std::count(fake.failingPens.begin(), fake.failingPens.end(), fake.pensMade) != 0) return nullptr;
    ++fake.openObjects;
    const Pen pen = reinterpret_cast<Pen>(nextPen++);
    livePens[pen] = color;
    return pen;
}
// A pen still selected into a context is not released: it lives on.
void ReleasePen(Pen pen) {
    if (livePens.count(pen) == 0) return;
    for (const auto& context : contexts) {
        if (context.second.pen == pen) {
            ++fake.pensReleasedWhileSelected;
            return;
        }
    }
    livePens.erase(pen);
    --fake.openObjects;
}
// Selecting none fails and changes nothing.
Pen SelectPen(DrawingContext context, Pen pen) {
    if (pen == nullptr) return nullptr;
    const Pen previous = contexts[context].pen;
    contexts[context].pen = pen;
    return previous;
}
void MoveTo(DrawingContext context, int32_t x, int32_t y) {
    contexts[context].position = Point{x, y};
}
void DrawLineTo(DrawingContext context, int32_t x, int32_t y) {
    ContextState& state = contexts[context];
    fake.drawn.push_back(DrawnOperation{"line", context, Rect{state.position.x, state.position.y, x, y},
                                        ColorOf(state.pen), ""});
    state.position = Point{x, y};
}
void SelectBitmap(DrawingContext, Bitmap) {}
void SelectFont(DrawingContext, Font) {}
Bitmap CreateOffscreenBitmap(int32_t, int32_t, int32_t) {
    ++fake.openObjects;
    return kOffscreenBitmap;
}
void ReleaseBitmap(Bitmap bitmap) {
    if (bitmap == kOffscreenBitmap) --fake.openObjects;
}
void CopyBlock(DrawingContext target, int32_t x, int32_t y, int32_t width, int32_t height, DrawingContext, int32_t,
               int32_t) {
    fake.drawn.push_back(DrawnOperation{"copy", target, Rect{x, y, width, height}, 0, ""});
}
void SetTransparentBackground(DrawingContext) {}
void AlignTextTopLeft(DrawingContext) {}
void SetTextColor(DrawingContext context, uint32_t color) {
    contexts[context].textColor = color;
}
Size TextExtent(DrawingContext, const char* text) {
    return Size{static_cast<int32_t>(std::strlen(text)) * 7, fake.textHeight};
}
void DrawWideText(DrawingContext context, int32_t x, int32_t y, const char16_t* text) {
    std::string narrow;
    for (; *text != 0; ++text) narrow.push_back(static_cast<char>(*text));
    fake.drawn.push_back(DrawnOperation{"text", context, Rect{x, y, 0, 0}, contexts[context].textColor, narrow});
}
void DrawWrappedText(DrawingContext context, const char* text, const Rect& rect) {
    fake.drawn.push_back(DrawnOperation{"wrapped", context, rect, contexts[context].textColor, text});
}

}  // namespace platform
