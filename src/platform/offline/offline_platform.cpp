// The offline platform: answers from settings, windows as placements, no
// drawing. It defines every operation of the window, drawing, font, bitmap,
// file, process, registry and system areas, so that a tool linked with it
// never takes one of the build's own.
#include "platform/offline/offline_platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <new>
#include <system_error>

#include "platform/accessibility.h"
#include "platform/bitmap.h"
#include "platform/drawing.h"
#include "platform/file.h"
#include "platform/font.h"
#include "platform/offline/bitmap_decoding.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/window.h"

namespace platform {

// A file opened through the settings' locator.
struct FileObject {
    std::ifstream stream;
    uint64_t size;
};

// A picture as the loader delivers it; the pixels and colours of a loaded
// file are decoded when first asked for.
struct BitmapObject {
    int32_t width;
    int32_t height;
    int32_t bitsPerPixel;
    std::vector<uint8_t> pixels;
    std::filesystem::path file;  // none for a section made empty
    bool filled = false;
    bool topDown = false;
    std::vector<uint8_t> colorTable;
};

namespace offline {

namespace {

Settings settings;
std::vector<ShownBox> shownBoxes;
std::vector<Rect> createdWindows;

// Fonts exist only as numbers; the face asked for is the face in use.
std::vector<FontDescription> fonts;

// Stand-ins for the handles that must not be none.
const Window kWindow = reinterpret_cast<Window>(0x1000);
const DrawingContext kDisplayInfo = reinterpret_cast<DrawingContext>(0x2000);

std::filesystem::path Locate(const char* name) {
    return settings.locateFile ? settings.locateFile(name) : std::filesystem::path(name);
}

uint64_t RowBytes(const BitmapObject& bitmap) {
    return (uint64_t{static_cast<uint32_t>(bitmap.bitsPerPixel)} * static_cast<uint32_t>(bitmap.width) + 31) / 32 * 4;
}

// The loader's pixels and colours of the file; a file whose pixels are not
// decoded here keeps all-zero rows and a black table. False when the rows
// do not fit in memory, as the system could not describe such a picture.
bool Fill(BitmapObject& bitmap) {
    if (bitmap.filled) return true;
    const uint64_t bytes = RowBytes(bitmap) * static_cast<uint32_t>(bitmap.height);
    if (bytes > bitmap.pixels.max_size()) return false;
    std::ifstream in(bitmap.file, std::ios::binary);
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    DecodedBitmap decoded;
    if (DecodeBitmapFile(file, &decoded) && decoded.rows.size() == bytes) {
        bitmap.pixels = std::move(decoded.rows);
        bitmap.colorTable = std::move(decoded.colorTable);
        bitmap.topDown = decoded.topDown;
    } else {
        try {
            bitmap.pixels.assign(static_cast<size_t>(bytes), 0);
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    bitmap.filled = true;
    return true;
}

}  // namespace

Settings& CurrentSettings() {
    return settings;
}

const std::vector<ShownBox>& ShownBoxes() {
    return shownBoxes;
}

const std::vector<Rect>& CreatedWindows() {
    return createdWindows;
}

void ForgetRecords() {
    shownBoxes.clear();
    createdWindows.clear();
}

bool DescriptionOf(Font font, FontDescription* description) {
    const size_t index = reinterpret_cast<uintptr_t>(font) - 1;
    if (index >= fonts.size()) return false;
    *description = fonts[index];
    return true;
}

}  // namespace offline

using offline::settings;

// System.
bool OwnModulePath(char* buffer, uint32_t capacity) {
    if (settings.ownPath.empty() || capacity == 0) return false;
    const size_t length = std::min<size_t>(settings.ownPath.size(), capacity - 1);
    std::memcpy(buffer, settings.ownPath.c_str(), length);
    buffer[length] = 0;
    return true;
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

bool QuerySystemVersion(SystemVersion* version) {
    if (!settings.versionKnown) return false;
    *version = settings.version;
    return true;
}

bool ReadMachineValue(const char*, const char*, char* buffer, uint32_t capacity, uint32_t* size) {
    if (!settings.productTypeKnown || settings.productType.size() > capacity) return false;
    std::memcpy(buffer, settings.productType.data(), settings.productType.size());
    *size = static_cast<uint32_t>(settings.productType.size());
    return true;
}

// Files: found through the locator, read with the C++ library.
File OpenFileForReading(const char* path) {
    const std::filesystem::path located = offline::Locate(path);
    if (located.empty()) return nullptr;
    std::error_code error;
    const uint64_t size = std::filesystem::file_size(located, error);
    if (error) return nullptr;
    auto file = std::make_unique<FileObject>();
    file->stream.open(located, std::ios::binary);
    if (!file->stream) return nullptr;
    file->size = size;
    return file.release();
}

uint32_t FileSizeLow(File file) {
    return static_cast<uint32_t>(file->size);
}

bool ReadFromFile(File file, void* buffer, uint32_t wanted, uint32_t* got) {
    file->stream.read(static_cast<char*>(buffer), wanted);
    *got = static_cast<uint32_t>(file->stream.gcount());
    return !file->stream.bad();
}

void CloseFile(File file) {
    delete file;
}

// Processes: none is started.
bool CreateProcessFromCommandLine(char*, uint32_t, const char*, uint32_t, int, ProcessInfo*) {
    return false;
}
void WaitUntilIdle(Process) {}
void CloseProcessInfo(const ProcessInfo&) {}
intptr_t ShellOpen(Window, const char*, const char*, const char*, int) {
    return 0;
}
uint32_t LastErrorCode() {
    return 0;
}
char* FetchSystemErrorText(uint32_t) {
    return nullptr;
}
void ReleaseSystemErrorText(char*) {}

// Windows: no other copy runs; the menu's own window is its placement.
Window FindTopLevelWindow(const char*) {
    return nullptr;
}
void BringToForeground(Window) {}
Window LastActivePopup(Window window) {
    return window;
}

DrawingContext CreateDisplayInfo() {
    return offline::kDisplayInfo;
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
// No message reaches the window: the tool asks the logic itself what the
// creation message would start.
Window CreateTopLevelWindow(uint32_t, const char*, const char*, uint32_t, int32_t x, int32_t y, int32_t width,
                            int32_t height) {
    offline::createdWindows.push_back(Rect{x, y, width, height});
    return offline::kWindow;
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
// No assistive tool reads a menu that is never shown.
intptr_t AnswerAccessibleObjectRequest(Window, uintptr_t) {
    return 0;
}
void DisconnectAccessibleObject() {}
void RaiseAccessibleEvent(Window, uint32_t, int32_t) {}

void SetKeyboardFocus(Window) {}
void TrackPointerLeave(Window) {}
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
void SetTextColor(DrawingContext, uint32_t) {}
Size TextExtent(DrawingContext, const char*) {
    return Size{0, 0};
}
void DrawWideText(DrawingContext, int32_t, int32_t, const char16_t*) {}
void DrawWrappedText(DrawingContext, const char*, const Rect&) {}

// Bitmaps: what the settings' reader says the loader makes of a file.
Bitmap LoadBitmapFile(const char* name, uint32_t) {
    const std::filesystem::path file = offline::Locate(name);
    offline::Picture picture{};
    if (file.empty() || !settings.readPicture || !settings.readPicture(file, &picture)) return nullptr;
    return new BitmapObject{picture.width, picture.height, picture.bitsPerPixel, {}, file, false, false, {}};
}
bool BitmapSize(Bitmap bitmap, Size* size) {
    *size = Size{bitmap->width, bitmap->height};
    return true;
}
void ReleaseBitmap(Bitmap bitmap) {
    delete bitmap;
}
bool DescribeDibSection(Bitmap bitmap, DibSection* section) {
    *section = DibSection{};
    if (!offline::Fill(*bitmap)) return false;
    const int32_t rowBytes = static_cast<int32_t>(offline::RowBytes(*bitmap));
    *section = DibSection{bitmap->width,
                          bitmap->height,
                          bitmap->topDown ? -bitmap->height : bitmap->height,
                          bitmap->bitsPerPixel,
                          bitmap->pixels.data(),
                          0,
                          rowBytes};
    return true;
}
uint32_t ReadDibColorTable(Bitmap bitmap, uint8_t* entries, uint32_t count) {
    if (bitmap->bitsPerPixel > 8 || !offline::Fill(*bitmap)) return 0;
    std::memset(entries, 0, count * 4);
    std::copy_n(bitmap->colorTable.data(), std::min<size_t>(bitmap->colorTable.size(), size_t{count} * 4), entries);
    return count;
}
Bitmap CreateDibSection(int32_t width, int32_t height, int32_t bitsPerPixel, void** bits) {
    auto bitmap = std::make_unique<BitmapObject>(BitmapObject{width, height, bitsPerPixel, {}, {}, true, false, {}});
    bitmap->pixels.resize(static_cast<size_t>(offline::RowBytes(*bitmap) * static_cast<uint32_t>(height)));
    *bits = bitmap->pixels.data();
    return bitmap.release();
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
