#include "support/platform_double.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/system.h"
#include "platform/window.h"

PlatformDouble fake;

void ResetPlatformDouble() {
    fake = PlatformDouble{};
}

platform::Window FakeWindow(uintptr_t n) {
    return reinterpret_cast<platform::Window>(0x1000 + n);
}

namespace {

const platform::Window kListWindow = FakeWindow(77);
const platform::NativeProcedure kListOwnProcedure = reinterpret_cast<platform::NativeProcedure>(0x4242);

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

const CreatedFont& FontOf(platform::Font font) {
    return fake.fonts.at(reinterpret_cast<uintptr_t>(font) - 1);
}

size_t LiveFontCount() {
    return static_cast<size_t>(
        std::count_if(fake.fonts.begin(), fake.fonts.end(), [](const CreatedFont& f) { return !f.released; }));
}

namespace platform {

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

void SetKeyboardFocus(Window window) {
    fake.focus = window;
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

bool FaceInUse(Font font, char* face, uint32_t capacity) {
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

bool SameFaceName(const char* a, const char* b) {
    return Lower(a) == Lower(b);
}

}  // namespace platform
