#pragma once
// Fonts: the default GUI font, creation from a description, and the face that
// a created font really uses.

#include <cstdint>

#include "platform/types.h"

namespace platform {

constexpr int kFaceNameCapacity = 32;  // bytes, terminator included

// The fields of a font description the menu sets; every other field is the
// system's default (zero).
struct FontDescription {
    int32_t height;
    int32_t weight;
    uint8_t italic;
    uint8_t underline;
    uint8_t charSet;
    char faceName[kFaceNameCapacity];  // ANSI code page
};

// The description of the system's default GUI font; false when unreadable.
bool DefaultGuiFont(FontDescription* description);

// None when the font cannot be created.
[[nodiscard]] Font CreateFontFrom(const FontDescription& description);

// The face name that the system really uses for the font, learnt by selecting
// it into a screen drawing context; false when it cannot be learnt.
[[nodiscard]] bool FaceInUse(Font font, char* face, uint32_t capacity);

// While one lives, the face checks share one screen drawing context instead
// of taking and releasing one each: a configuration run checks up to five
// fonts.
class FaceCheckContext {
public:
    FaceCheckContext();
    ~FaceCheckContext();
    FaceCheckContext(const FaceCheckContext&) = delete;
    FaceCheckContext& operator=(const FaceCheckContext&) = delete;
};

void ReleaseFont(Font font);

}  // namespace platform
