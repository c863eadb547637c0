#pragma once
// A recording stand-in for the platform layer, for host unit tests of logic
// that calls platform operations. Tests set what the "system" answers, and
// read back every operation the logic asked for as one sequence of calls.

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/font.h"
#include "platform/os_version.h"
#include "platform/types.h"

// Every operation the stand-in takes the place of, by its name in src/platform.
// The face-check context's construction and destruction count as operations.
#define TESSALINE_PLATFORM_OPERATIONS(X)                                                                    \
    X(OwnModulePath) X(UserDefaultLanguageId) X(EnumerateInstalledLocales)                                  \
    X(RestrictLibrarySearchToSystemFolder) X(LoadSystemLibrary) X(CallWaitNoPendingInstallEvents)           \
    X(UnloadLibrary) X(QuerySystemVersion) X(ReadMachineValue)                                              \
    X(FindTopLevelWindow) X(BringToForeground) X(LastActivePopup) X(CreateDisplayInfo)                      \
    X(DisplayColorCount) X(ReleaseDisplayInfo) X(WorkArea) X(GrowByFrame) X(RegisterWindowClass)            \
    X(UnregisterWindowClass) X(CreateTopLevelWindow) X(ShowTopLevelWindow) X(PaintNow)                      \
    X(DispatchNextMessage) X(PostQuitRequest) X(DefaultWindowProcedure) X(ShowMessageBox)                   \
    X(SetWindowTitle) X(WindowStyles) X(RequestRepaint) X(CreateChildWindow) X(InstanceFromCreation)        \
    X(ReplaceWindowProcedure) X(CallNativeProcedure) X(ListReset) X(ListAdd) X(ListSelect)                  \
    X(ListSelection) X(SetKeyboardFocus) X(TrackPointerLeave) X(IsShiftHeld) X(IsChildOf) X(TickCount)      \
    X(Wait) X(StartTimer) X(StopTimer) X(SendCloseMessage)                                                  \
    X(CreateProcessFromCommandLine) X(WaitUntilIdle) X(CloseProcessInfo) X(ShellOpen) X(LastErrorCode)      \
    X(FetchSystemErrorText) X(ReleaseSystemErrorText)                                                       \
    X(LoadBitmapFile) X(BitmapSize) X(ReleaseBitmap) X(CreateDibSection)                                    \
    X(AnswerAccessibleObjectRequest) X(DisconnectAccessibleObject) X(RaiseAccessibleEvent)                  \
    X(DefaultGuiFont) X(CreateFontFrom) X(OpenFaceCheckContext) X(FaceInUse) X(CloseFaceCheckContext)       \
    X(ReleaseFont)                                                                                          \
    X(BeginWindowPaint) X(EndWindowPaint) X(MarkWindowPainted) X(WindowContext) X(ReleaseWindowContext)     \
    X(CreateMemoryContext) X(DeleteMemoryContext) X(SaveContext) X(RestoreContext) X(BitsPerPixel)          \
    X(MakeBrush) X(ReleaseBrush) X(FillRectangle) X(MakePen) X(ReleasePen) X(SelectPen) X(MoveTo)           \
    X(DrawLineTo) X(SelectBitmap) X(SelectFont) X(CreateOffscreenBitmap) X(CopyBlock)                       \
    X(SetTransparentBackground) X(AlignTextTopLeft) X(SetTextColor) X(TextExtent) X(DrawWideText)          \
    X(DrawWrappedText)

enum class Op {
#define TESSALINE_OPERATION_NAME(name) name,
    TESSALINE_PLATFORM_OPERATIONS(TESSALINE_OPERATION_NAME)
#undef TESSALINE_OPERATION_NAME
};

// One operation asked of the platform: `on` is the window, drawing context or
// object it acts on, `texts` its texts and `numbers` its other values, both
// in the order the operation takes them. Other handles, output buffers and
// their sizes are left out; a brush or pen stands as its colour. A drawing
// operation ends with the colour it draws in (the brush's, the pen's or the
// text colour), and a line starts with the point it starts from. An expected
// call may leave `on` unstated: it then matches any.
struct Call {
    Op op;
    std::vector<std::string> texts = {};
    std::vector<int64_t> numbers = {};
    std::optional<const void*> on = {};
};

// Makes the `call`th call of `op` since the reset fail (0: every call). What
// failing means is the operation's: it returns false, null or nothing.
struct Failure {
    Op op;
    int call = 0;
};

// A picture file the system's loader can load at the menu's own size.
struct BitmapFile {
    Size size;
};

// What the stand-in answers, each named after the operation that returns it.
struct PlatformDouble {
    std::string ownModulePath;                  // empty: it cannot be had
    std::vector<std::string> systemLibraries;   // the libraries LoadSystemLibrary finds
    uint32_t installWaitResult = 0;             // CallWaitNoPendingInstallEvents
    platform::Window topLevelWindow = nullptr;  // FindTopLevelWindow: a menu of another copy
    platform::Window lastActivePopup = nullptr;  // none: the window itself
    int32_t displayColorCount = -1;
    std::map<std::string, BitmapFile> bitmapFiles;  // by name
    platform::SystemVersion systemVersion{2, 6, 1};
    std::string machineValue = "WinNT";
    Rect workArea{0, 0, 1024, 738};
    uint16_t userDefaultLanguageId = 0x0409;
    std::vector<std::string> installedLocales{"00000409"};
    Rect frame{0, 0, 0, 0};  // GrowByFrame adds it to the rectangle's edges
    platform::FontDescription defaultGuiFont{-11, 400, 0, 0, 1, "MS Shell Dlg"};
    // FaceInUse: the faces the system has, in its own spelling; any other
    // face is replaced by `substituteFace`.
    std::vector<std::string> installedFaces{"MS Sans Serif", "Tahoma", "MS Shell Dlg"};
    std::string substituteFace = "Liberation Sans";
    bool shiftHeld = false;   // IsShiftHeld
    int32_t textHeight = 13;  // TextExtent, of any text in any font
    int32_t bitsPerPixel = 32;
    int32_t listSelection = -1;  // ListSelection; ListSelect sets it, as the list does

    std::vector<Failure> failing;
    std::vector<Failure> throwing;  // fail with an exception instead

    // Every operation asked for since the reset, less those taken out.
    std::vector<Call> calls;
};

// The stand-in's state; ResetPlatformDouble() before each test.
extern PlatformDouble fake;
void ResetPlatformDouble();

// Takes the calls of the operations in `only` (every call when empty) out
// of fake.calls, in order.
std::vector<Call> TakeCalls(const std::vector<Op>& only = {});
// How many calls of `op` there were since the reset, taken out or not.
int Count(Op op);

const char* OperationName(Op op);
std::ostream& operator<<(std::ostream& out, const Call& call);

// Handles the stand-in gives out, and what they stand for.
platform::Window FakeWindow(uintptr_t n);
// The pen a drawing context holds now; every context starts with its own.
platform::Pen SelectedPen(platform::DrawingContext context);
platform::Pen StockPen();
// Objects given out and not yet released: contexts, brushes, pens, pictures
// and libraries.
size_t OpenObjects();

struct CreatedFont {
    platform::FontDescription description;
    bool released;
};
const CreatedFont& FontOf(platform::Font font);
size_t LiveFontCount();

struct CreatedDib {
    int32_t width;
    int32_t height;
    int32_t bitsPerPixel;
    std::vector<uint32_t> pixels;
};
// The DIB section a handle from CreateDibSection stands for, or null.
const CreatedDib* DibOf(platform::Bitmap bitmap);
