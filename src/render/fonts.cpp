#include "render/fonts.h"

#include <cstring>

#include "config/formatted_input.h"
#include "config/menu_model.h"
#include "config/scaling.h"
#include "config/wide_text.h"
#include "platform/holders.h"

namespace {

platform::FontDescription DefaultGuiFont() {
    platform::FontDescription description{};
    platform::DefaultGuiFont(&description);
    return description;
}

void Release(platform::Font& font) {
    if (font != nullptr) platform::ReleaseFont(font);
    font = nullptr;
}

// Creates the font; when the system puts another face in its place, creates
// it again with the default GUI font's face, keeping size and style. The
// faces are compared byte for byte, only A-Z taken without regard to case:
// the system's own comparison also passes names that differ by a hyphen or
// an apostrophe, which are other faces.
platform::Font CreateWithFaceCheck(platform::FontDescription description,
                                   const platform::FontDescription& defaultFont) {
    // Its own scope: a refused first font goes before the second is made.
    {
        platform::OwnedFont font(platform::CreateFontFrom(description));
        if (font.Get() == nullptr) return nullptr;
        char inUse[260] = {};
        if (platform::FaceInUse(font.Get(), inUse, sizeof inUse) && EqualsFoldingAZ(description.faceName, inUse)) {
            return font.Take();
        }
    }
    std::memcpy(description.faceName, defaultFont.faceName, sizeof description.faceName);
    return platform::CreateFontFrom(description);
}

// The font of a request replaces the old one, which goes first whatever
// follows; a value without a face makes none.
void Make(platform::Font* field, FontRequest* request, const platform::FontDescription& defaultFont) {
    if (!request->asked) return;
    request->asked = false;
    Release(*field);
    platform::FontDescription description{};
    if (DescribeFont(request->value, defaultFont, &description)) *field = CreateWithFaceCheck(description, defaultFont);
}

}  // namespace

bool DescribeFont(const char16_t* value, const platform::FontDescription& defaultFont,
                  platform::FontDescription* description) {
    *description = platform::FontDescription{};
    int32_t numbers[4] = {0, 0, 0, 0};
    int32_t* const targets[] = {&numbers[0], &numbers[1], &numbers[2], &numbers[3]};
    ScanIntegers(value, "%d,%d,%d,%d", targets, 4);
    description->height = numbers[0];
    description->height = Scaled(description->height);
    description->weight = numbers[1];
    description->italic = static_cast<uint8_t>(numbers[2] & 0xFF);
    description->underline = static_cast<uint8_t>(numbers[3] & 0xFF);
    description->charSet = defaultFont.charSet;

    // The face follows the last comma, after any blanks.
    const char16_t* face = AfterLastComma(value);
    if (face == nullptr) return false;
    while (*face == u' ' || *face == u'\t') ++face;
    ToNarrowWithin(description->faceName, sizeof description->faceName, face);
    return true;
}

void MakeRequestedFonts() {
    if (!menu.copyrightFontRequest.asked && !menu.buttonFontRequest.asked && !menu.helpFontRequest.asked) return;
    const platform::FaceCheckContext faceChecks;
    const platform::FontDescription defaultFont = DefaultGuiFont();
    Make(&menu.copyrightFont, &menu.copyrightFontRequest, defaultFont);
    Make(&menu.buttonFont, &menu.buttonFontRequest, defaultFont);
    Make(&menu.helpFont, &menu.helpFontRequest, defaultFont);
}
