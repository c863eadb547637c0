#include "config/language_tag.h"

#include <cstdio>

#include "config/wide_text.h"

void FormatLanguageTag(uint32_t identifier, char16_t* dst, size_t capacity) {
    char narrow[16];
    std::snprintf(narrow, sizeof narrow, "0x%2.2X", static_cast<unsigned>(identifier));
    WidenAscii(dst, capacity, narrow);
}

void UserLanguageTag(uint16_t userLanguageId, char16_t* dst, size_t capacity) {
    FormatLanguageTag(userLanguageId & 0x3FFu, dst, capacity);
}
