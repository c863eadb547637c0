#include "support/platform_double.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/accessibility.h"
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
const platform::DrawingContext kPaintContext = reinterpret_cast<platform::DrawingContext>(0x99);
const platform::Pen kStockPen = reinterpret_cast<platform::Pen>(0x2000);

const char* const kOperationNames[] = {
#define TESSALINE_OPERATION_TEXT(name) #name,
    TESSALINE_PLATFORM_OPERATIONS(TESSALINE_OPERATION_TEXT)
#undef TESSALINE_OPERATION_TEXT
};

platform::WindowProcedure registeredProcedure = nullptr;
std::map<Op, int> callCounts;  // since the reset

// Every object the stand-in gives out comes from one count, so that no two
// handles are alike. Live objects keep their colour (brushes and pens).
uintptr_t nextHandle = 0x10000;
std::map<const void*, uint32_t> live;
std::map<const void*, const BitmapFile*> loadedFiles;
std::map<const void*, CreatedDib> dibs;
std::map<const void*, CreatedFont> fonts;

// Contexts keep their pen, text colour and position here.
struct ContextState {
    platform::Pen pen = kStockPen;
    uint32_t textColor = 0;
    Point position{0, 0};
};
std::map<platform::DrawingContext, ContextState> contexts;

uint32_t ColorOf(platform::Pen pen) {
    return pen == kStockPen ? 0 : live.at(pen);
}

template <typename Handle>
Handle NewObject(uint32_t color = 0) {
    const Handle handle = reinterpret_cast<Handle>(nextHandle++);
    live[handle] = color;
    return handle;
}

bool Listed(const std::vector<Failure>& failures, Op op) {
    return std::any_of(failures.begin(), failures.end(),
                       [&](const Failure& f) { return f.op == op && (f.call == 0 || f.call == callCounts[op]); });
}

// Records the call; throws where the test asks for it; true where the test
// makes it fail.
bool Record(Op op, const void* on = nullptr, std::vector<std::string> texts = {}, std::vector<int64_t> numbers = {}) {
    fake.calls.push_back(Call{op, std::move(texts), std::move(numbers), on});
    ++callCounts[op];
    if (Listed(fake.throwing, op)) throw std::bad_alloc();
    return Listed(fake.failing, op);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

void ResetPlatformDouble() {
    fake = PlatformDouble{};
    registeredProcedure = nullptr;
    callCounts.clear();
    live.clear();
    loadedFiles.clear();
    dibs.clear();
    fonts.clear();
    contexts.clear();
}

std::vector<Call> TakeCalls(const std::vector<Op>& only) {
    std::vector<Call> taken;
    std::vector<Call> kept;
    for (Call& call : fake.calls) {
        const bool wanted = only.empty() || std::find(only.begin(), only.end(), call.op) != only.end();
        (wanted ? taken : kept).push_back(std::move(call));
    }
    fake.calls = std::move(kept);
    return taken;
}

int Count(Op op) { return callCounts[op]; }
const char* OperationName(Op op) { return kOperationNames[static_cast<size_t>(op)]; }

// Numbers past 16 bits are flags, colours or handles: they read best in hex.
std::ostream& operator<<(std::ostream& out, const Call& call) {
    out << OperationName(call.op) << "(";
    const char* separator = "";
    if (call.on) {
        out << "on ";
        if (*call.on == nullptr) {
            out << "null";
        } else {
            out << *call.on;
        }
        separator = ", ";
    }
    for (const std::string& text : call.texts) {
        out << separator << '"' << text << '"';
        separator = ", ";
    }
    for (int64_t n : call.numbers) {
        out << separator;
        if (std::llabs(n) > 0xFFFF) {
            out << (n < 0 ? "-0x" : "0x") << std::hex << std::uppercase << std::llabs(n) << std::dec;
        } else {
            out << n;
        }
        separator = ", ";
    }
    return out << ")";
}

platform::Window FakeWindow(uintptr_t n) { return reinterpret_cast<platform::Window>(0x1000 + n); }
platform::Pen SelectedPen(platform::DrawingContext context) { return contexts[context].pen; }
platform::Pen StockPen() { return kStockPen; }
size_t OpenObjects() { return live.size(); }
const CreatedFont& FontOf(platform::Font font) { return fonts.at(font); }

size_t LiveFontCount() {
    return static_cast<size_t>(
        std::count_if(fonts.begin(), fonts.end(), [](const auto& font) { return !font.second.released; }));
}

const CreatedDib* DibOf(platform::Bitmap bitmap) {
    const auto dib = dibs.find(bitmap);
    return dib != dibs.end() ? &dib->second : nullptr;
}

namespace platform {

bool OwnModulePath(char* buffer, uint32_t capacity) {
    Record(Op::OwnModulePath);
    if (fake.ownModulePath.empty() || capacity == 0) return false;
    const size_t length = std::min<size_t>(fake.ownModulePath.size(), capacity - 1);
    std::memcpy(buffer, fake.ownModulePath.c_str(), length);
    buffer[length] = 0;
    return true;
}

uint16_t UserDefaultLanguageId() {
    Record(Op::UserDefaultLanguageId);
    return fake.userDefaultLanguageId;
}

void EnumerateInstalledLocales(bool (*visit)(const char* identifier, void* context), void* context) {
    Record(Op::EnumerateInstalledLocales);
    for (const std::string& locale : fake.installedLocales) {
        if (!visit(locale.c_str(), context)) return;
    }
}

void RestrictLibrarySearchToSystemFolder() { Record(Op::RestrictLibrarySearchToSystemFolder); }

Library LoadSystemLibrary(const char* name) {
    Record(Op::LoadSystemLibrary, nullptr, {name});
    const auto& found = fake.systemLibraries;
    return std::find(found.begin(), found.end(), name) != found.end() ? NewObject<Library>() : nullptr;
}

bool CallWaitNoPendingInstallEvents(Library library, uint32_t timeoutMs, uint32_t* result) {
    if (Record(Op::CallWaitNoPendingInstallEvents, library, {}, {timeoutMs})) return false;
    *result = fake.installWaitResult;
    return true;
}

void UnloadLibrary(Library library) {
    Record(Op::UnloadLibrary, library);
    live.erase(library);
}

bool QuerySystemVersion(SystemVersion* version) {
    if (Record(Op::QuerySystemVersion)) return false;
    *version = fake.systemVersion;
    return true;
}

bool ReadMachineValue(const char* keyPath, const char* valueName, char* buffer, uint32_t capacity, uint32_t* size) {
    if (Record(Op::ReadMachineValue, nullptr, {keyPath, valueName}) || fake.machineValue.size() > capacity) {
        return false;
    }
    std::memcpy(buffer, fake.machineValue.data(), fake.machineValue.size());
    *size = static_cast<uint32_t>(fake.machineValue.size());
    return true;
}

Window FindTopLevelWindow(const char* className) {
    Record(Op::FindTopLevelWindow, nullptr, {className});
    return fake.topLevelWindow;
}

void BringToForeground(Window window) { Record(Op::BringToForeground, window); }

Window LastActivePopup(Window window) {
    Record(Op::LastActivePopup, window);
    return fake.lastActivePopup != nullptr ? fake.lastActivePopup : window;
}

DrawingContext CreateDisplayInfo() {
    Record(Op::CreateDisplayInfo);
    return NewObject<DrawingContext>();
}

int32_t DisplayColorCount(DrawingContext info) {
    Record(Op::DisplayColorCount, info);
    return fake.displayColorCount;
}

void ReleaseDisplayInfo(DrawingContext info) {
    Record(Op::ReleaseDisplayInfo, info);
    live.erase(info);
}

Rect WorkArea() {
    Record(Op::WorkArea);
    return fake.workArea;
}

void GrowByFrame(Rect* rect, uint32_t style, uint32_t extendedStyle) {
    Record(Op::GrowByFrame, nullptr, {}, {rect->left, rect->top, rect->right, rect->bottom, style, extendedStyle});
    rect->left += fake.frame.left;
    rect->top += fake.frame.top;
    rect->right += fake.frame.right;
    rect->bottom += fake.frame.bottom;
}

bool RegisterWindowClass(const char* className, WindowProcedure procedure, int iconId) {
    if (Record(Op::RegisterWindowClass, nullptr, {className}, {iconId})) return false;
    registeredProcedure = procedure;
    return true;
}

void UnregisterWindowClass(const char* className) { Record(Op::UnregisterWindowClass, nullptr, {className}); }

// The creation message reaches the class's procedure inside creation, as the
// system sends it.
Window CreateTopLevelWindow(uint32_t extendedStyle, const char* className, const char* title, uint32_t style,
                            int32_t x, int32_t y, int32_t width, int32_t height) {
    if (Record(Op::CreateTopLevelWindow, nullptr, {className, title}, {extendedStyle, style, x, y, width, height})) {
        return nullptr;
    }
    if (registeredProcedure != nullptr) registeredProcedure(kMenuWindow, msg::kCreate, 0, 0);
    return kMenuWindow;
}

void ShowTopLevelWindow(Window window, int showCommand) { Record(Op::ShowTopLevelWindow, window, {}, {showCommand}); }
void PaintNow(Window window) { Record(Op::PaintNow, window); }

// The quit request is the first message.
bool DispatchNextMessage() {
    Record(Op::DispatchNextMessage);
    return false;
}

void PostQuitRequest() { Record(Op::PostQuitRequest); }

intptr_t DefaultWindowProcedure(Window window, uint32_t message, uintptr_t first, intptr_t second) {
    Record(Op::DefaultWindowProcedure, window, {}, {message, static_cast<int64_t>(first), second});
    return 0;
}

void ShowMessageBox(Window owner, const char* text, const char* title, uint32_t flags) {
    Record(Op::ShowMessageBox, owner, {text, title}, {flags});
}

void SetWindowTitle(Window window, const char* title) { Record(Op::SetWindowTitle, window, {title}); }

void WindowStyles(Window window, uint32_t* style, uint32_t* extendedStyle) {
    Record(Op::WindowStyles, window);
    *style = 0;
    *extendedStyle = 0;
}

void RequestRepaint(Window window) { Record(Op::RequestRepaint, window); }

Window CreateChildWindow(const char* className, const char* title, uint32_t style, int32_t x, int32_t y,
                         int32_t width, int32_t height, Window parent, Instance) {
    Record(Op::CreateChildWindow, parent, {className, title}, {style, x, y, width, height});
    return kListWindow;
}

Instance InstanceFromCreation(intptr_t creationParameter) {
    Record(Op::InstanceFromCreation, nullptr, {}, {creationParameter});
    return nullptr;
}

NativeProcedure ReplaceWindowProcedure(Window window, WindowProcedure) {
    Record(Op::ReplaceWindowProcedure, window);
    return kListOwnProcedure;
}

// The list's own procedure is the only one the stand-in gives out: a call of
// any other reaches nothing, and no call is recorded.
intptr_t CallNativeProcedure(NativeProcedure procedure, Window window, uint32_t message, uintptr_t first,
                             intptr_t second) {
    if (procedure == kListOwnProcedure) {
        Record(Op::CallNativeProcedure, window, {}, {message, static_cast<int64_t>(first), second});
    }
    return 0;
}

void ListReset(Window list) { Record(Op::ListReset, list); }
void ListAdd(Window list, const char* text) { Record(Op::ListAdd, list, {text}); }

void ListSelect(Window list, int32_t index) {
    Record(Op::ListSelect, list, {}, {index});
    if (list != nullptr) fake.listSelection = index;
}

int32_t ListSelection(Window list) {
    Record(Op::ListSelection, list);
    return list != nullptr ? fake.listSelection : -1;
}

void SetKeyboardFocus(Window window) { Record(Op::SetKeyboardFocus, window); }
void TrackPointerLeave(Window window) { Record(Op::TrackPointerLeave, window); }

bool IsShiftHeld() {
    Record(Op::IsShiftHeld);
    return fake.shiftHeld;
}

bool IsChildOf(Window parent, Window window) {
    Record(Op::IsChildOf, window);
    return parent == kMenuWindow && window == kListWindow;
}

uint32_t TickCount() {
    Record(Op::TickCount);
    return 0;
}

void Wait(uint32_t milliseconds) { Record(Op::Wait, nullptr, {}, {milliseconds}); }

TimerId StartTimer(Window window, uint32_t milliseconds) {
    Record(Op::StartTimer, window, {}, {milliseconds});
    return 0;
}

void StopTimer(Window window, TimerId timer) { Record(Op::StopTimer, window, {}, {static_cast<int64_t>(timer)}); }
void SendCloseMessage(Window window) { Record(Op::SendCloseMessage, window); }

bool CreateProcessFromCommandLine(char* commandLine, uint32_t creationFlags, const char* workingFolder,
                                  uint32_t startupFlags, int showState, ProcessInfo* info) {
    Record(Op::CreateProcessFromCommandLine, nullptr, {commandLine, workingFolder != nullptr ? workingFolder : ""},
           {creationFlags, startupFlags, showState});
    *info = ProcessInfo{};
    return true;
}

void WaitUntilIdle(Process process) { Record(Op::WaitUntilIdle, process); }
void CloseProcessInfo(const ProcessInfo& info) { Record(Op::CloseProcessInfo, info.process); }

// Above 32: opened.
intptr_t ShellOpen(Window owner, const char* file, const char* parameters, const char* folder, int showState) {
    Record(Op::ShellOpen, owner, {file, parameters != nullptr ? parameters : "", folder != nullptr ? folder : ""},
           {showState});
    return 42;
}

uint32_t LastErrorCode() {
    Record(Op::LastErrorCode);
    return 0;
}

char* FetchSystemErrorText(uint32_t code) {
    Record(Op::FetchSystemErrorText, nullptr, {}, {code});
    return nullptr;
}

void ReleaseSystemErrorText(char* text) { Record(Op::ReleaseSystemErrorText, text); }

Bitmap LoadBitmapFile(const char* name, uint32_t flags) {
    Record(Op::LoadBitmapFile, nullptr, {name}, {flags});
    const auto file = fake.bitmapFiles.find(name);
    if (file == fake.bitmapFiles.end()) return nullptr;
    const Bitmap bitmap = NewObject<Bitmap>();
    loadedFiles[bitmap] = &file->second;
    return bitmap;
}

bool BitmapSize(Bitmap bitmap, Size* size) {
    const auto file = loadedFiles.find(bitmap);
    if (Record(Op::BitmapSize, bitmap) || file == loadedFiles.end()) return false;
    *size = file->second->size;
    return true;
}

void ReleaseBitmap(Bitmap bitmap) {
    Record(Op::ReleaseBitmap, bitmap);
    live.erase(bitmap);
}

Bitmap CreateDibSection(int32_t width, int32_t height, int32_t bitsPerPixel, void** bits) {
    *bits = nullptr;
    if (Record(Op::CreateDibSection, nullptr, {}, {width, height, bitsPerPixel})) return nullptr;
    const Bitmap bitmap = NewObject<Bitmap>();
    CreatedDib& dib = dibs[bitmap] = CreatedDib{width, height, bitsPerPixel, {}};
    dib.pixels.resize(static_cast<size_t>(width) * std::abs(height));
    *bits = dib.pixels.data();
    return bitmap;
}

intptr_t AnswerAccessibleObjectRequest(Window window, uintptr_t first) {
    Record(Op::AnswerAccessibleObjectRequest, window, {}, {static_cast<int64_t>(first)});
    return 0x0ACC;
}

void DisconnectAccessibleObject() { Record(Op::DisconnectAccessibleObject); }

void RaiseAccessibleEvent(Window window, uint32_t event, int32_t child) {
    Record(Op::RaiseAccessibleEvent, window, {}, {event, child});
}

bool DefaultGuiFont(FontDescription* description) {
    Record(Op::DefaultGuiFont);
    *description = fake.defaultGuiFont;
    return true;
}

// The face as far as its terminator, or the whole field without one.
Font CreateFontFrom(const FontDescription& d) {
    const std::string face(d.faceName, strnlen(d.faceName, kFaceNameCapacity));
    Record(Op::CreateFontFrom, nullptr, {face}, {d.height, d.weight, d.italic, d.underline, d.charSet});
    const Font font = reinterpret_cast<Font>(nextHandle++);
    fonts[font] = CreatedFont{d, false};
    return font;
}

FaceCheckContext::FaceCheckContext() { Record(Op::OpenFaceCheckContext); }
FaceCheckContext::~FaceCheckContext() { Record(Op::CloseFaceCheckContext); }

bool FaceInUse(Font font, char* face, uint32_t capacity) {
    Record(Op::FaceInUse, font);
    const std::string requested = FontOf(font).description.faceName;
    std::string inUse = fake.substituteFace;
    for (const std::string& f : fake.installedFaces) {
        if (Lower(f) == Lower(requested)) inUse = f;
    }
    std::strncpy(face, inUse.c_str(), capacity - 1);
    face[capacity - 1] = 0;
    return true;
}

void ReleaseFont(Font font) {
    Record(Op::ReleaseFont, font);
    fonts.at(font).released = true;
}

DrawingContext BeginWindowPaint(Window window) {
    return Record(Op::BeginWindowPaint, window) ? nullptr : kPaintContext;
}

void EndWindowPaint(Window window) { Record(Op::EndWindowPaint, window); }
void MarkWindowPainted(Window window) { Record(Op::MarkWindowPainted, window); }

DrawingContext WindowContext(Window window) {
    Record(Op::WindowContext, window);
    return NewObject<DrawingContext>();
}

void ReleaseWindowContext(Window, DrawingContext context) {
    Record(Op::ReleaseWindowContext, context);
    live.erase(context);
    contexts.erase(context);
}

DrawingContext CreateMemoryContext(DrawingContext compatibleWith) {
    Record(Op::CreateMemoryContext, compatibleWith);
    return NewObject<DrawingContext>();
}

void DeleteMemoryContext(DrawingContext context) {
    Record(Op::DeleteMemoryContext, context);
    live.erase(context);
    contexts.erase(context);
}

void SaveContext(DrawingContext context) { Record(Op::SaveContext, context); }
void RestoreContext(DrawingContext context) { Record(Op::RestoreContext, context); }

int32_t BitsPerPixel(DrawingContext context) {
    Record(Op::BitsPerPixel, context);
    return fake.bitsPerPixel;
}

Brush MakeBrush(uint32_t color) {
    Record(Op::MakeBrush, nullptr, {}, {color});
    return NewObject<Brush>(color);
}

void ReleaseBrush(Brush brush) {
    Record(Op::ReleaseBrush, brush);
    live.erase(brush);
}

void FillRectangle(DrawingContext context, const Rect& rect, Brush brush) {
    Record(Op::FillRectangle, context, {}, {rect.left, rect.top, rect.right, rect.bottom, live.at(brush)});
}

Pen MakePen(uint32_t color) { return Record(Op::MakePen, nullptr, {}, {color}) ? nullptr : NewObject<Pen>(color); }

// A pen still selected into a context is not released: it lives on.
void ReleasePen(Pen pen) {
    Record(Op::ReleasePen, pen);
    for (const auto& context : contexts) {
        if (context.second.pen == pen) return;
    }
    live.erase(pen);
}

// Selecting none fails and changes nothing.
Pen SelectPen(DrawingContext context, Pen pen) {
    if (pen == nullptr) {
        Record(Op::SelectPen, context);
        return nullptr;
    }
    Record(Op::SelectPen, context, {}, {ColorOf(pen)});
    const Pen previous = contexts[context].pen;
    contexts[context].pen = pen;
    return previous;
}

void MoveTo(DrawingContext context, int32_t x, int32_t y) {
    Record(Op::MoveTo, context, {}, {x, y});
    contexts[context].position = Point{x, y};
}

void DrawLineTo(DrawingContext context, int32_t x, int32_t y) {
    ContextState& state = contexts[context];
    Record(Op::DrawLineTo, context, {}, {state.position.x, state.position.y, x, y, ColorOf(state.pen)});
    state.position = Point{x, y};
}

void SelectBitmap(DrawingContext context, Bitmap) { Record(Op::SelectBitmap, context); }
void SelectFont(DrawingContext context, Font) { Record(Op::SelectFont, context); }

Bitmap CreateOffscreenBitmap(int32_t width, int32_t height, int32_t bitsPerPixel) {
    Record(Op::CreateOffscreenBitmap, nullptr, {}, {width, height, bitsPerPixel});
    return NewObject<Bitmap>();
}

void CopyBlock(DrawingContext target, int32_t x, int32_t y, int32_t width, int32_t height, DrawingContext,
               int32_t sourceX, int32_t sourceY) {
    Record(Op::CopyBlock, target, {}, {x, y, width, height, sourceX, sourceY});
}

void SetTransparentBackground(DrawingContext context) { Record(Op::SetTransparentBackground, context); }
void AlignTextTopLeft(DrawingContext context) { Record(Op::AlignTextTopLeft, context); }

void SetTextColor(DrawingContext context, uint32_t color) {
    Record(Op::SetTextColor, context, {}, {color});
    contexts[context].textColor = color;
}

Size TextExtent(DrawingContext context, const char* text) {
    Record(Op::TextExtent, context, {text});
    return Size{static_cast<int32_t>(std::strlen(text)) * 7, fake.textHeight};
}

// The text as ASCII: the tests draw nothing else.
void DrawWideText(DrawingContext context, int32_t x, int32_t y, const char16_t* text) {
    std::string narrow;
    for (; *text != 0; ++text) narrow.push_back(static_cast<char>(*text));
    Record(Op::DrawWideText, context, {narrow}, {x, y, contexts[context].textColor});
}

void DrawWrappedText(DrawingContext context, const char* text, const Rect& rect) {
    Record(Op::DrawWrappedText, context, {text},
           {rect.left, rect.top, rect.right, rect.bottom, contexts[context].textColor});
}

}  // namespace platform
