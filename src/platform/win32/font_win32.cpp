#include <windows.h>

#include <cstring>

#include "platform/font.h"
#include "platform/holders.h"
#include "platform/win32/object_tally_win32.h"

namespace platform {

bool DefaultGuiFont(FontDescription* description) {
    LOGFONTA font = {};
    if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font) == 0) return false;
    description->height = font.lfHeight;
    description->weight = font.lfWeight;
    description->italic = font.lfItalic;
    description->underline = font.lfUnderline;
    description->charSet = font.lfCharSet;
    std::memcpy(description->faceName, font.lfFaceName, kFaceNameCapacity);
    description->faceName[kFaceNameCapacity - 1] = 0;
    return true;
}

Font CreateFontFrom(const FontDescription& description) {
    LOGFONTA font = {};
    font.lfHeight = description.height;
    font.lfWeight = description.weight;
    font.lfItalic = description.italic;
    font.lfUnderline = description.underline;
    font.lfCharSet = description.charSet;
    std::memcpy(font.lfFaceName, description.faceName, kFaceNameCapacity);
    return Tallied(reinterpret_cast<Font>(CreateFontIndirectA(&font)));
}

namespace {

// The screen context that a living FaceCheckContext holds, and how many live.
HDC heldScreen = nullptr;
int holders = 0;

}  // namespace

FaceCheckContext::FaceCheckContext() {
    if (holders++ == 0) heldScreen = Tallied(GetDC(nullptr));
}

FaceCheckContext::~FaceCheckContext() {
    if (--holders > 0 || heldScreen == nullptr) return;
    Untallied(heldScreen);
    ReleaseDC(nullptr, heldScreen);
    heldScreen = nullptr;
}

bool FaceInUse(Font font, char* face, uint32_t capacity) {
    // Without a held screen context, one of its own for this check.
    const OwnedWindowContext own = heldScreen == nullptr ? OwnedWindowContext(nullptr) : OwnedWindowContext();
    HDC screen = heldScreen != nullptr ? heldScreen : reinterpret_cast<HDC>(own.Get());
    if (screen == nullptr) return false;
    HGDIOBJ previous = SelectObject(screen, reinterpret_cast<HFONT>(font));
    const int length = GetTextFaceA(screen, static_cast<int>(capacity), face);
    if (previous != nullptr) SelectObject(screen, previous);
    return length > 0;
}

void ReleaseFont(Font font) {
    Untallied(font);
    DeleteObject(reinterpret_cast<HFONT>(font));
}

}  // namespace platform
