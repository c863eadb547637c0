#include "check/code_pages.h"

#include <cstdio>

#include "platform/code_page.h"
#include "platform/text.h"

uint32_t AnsiCodePageOf(uint32_t primaryLanguage) {
    static const struct {
        uint32_t language;
        uint32_t codePage;
    } kTable[] = {
        // Western European.
        {0x03, 1252}, {0x06, 1252}, {0x07, 1252}, {0x09, 1252}, {0x0A, 1252}, {0x0B, 1252}, {0x0C, 1252},
        {0x0F, 1252}, {0x10, 1252}, {0x13, 1252}, {0x14, 1252}, {0x16, 1252}, {0x1D, 1252}, {0x21, 1252},
        {0x2D, 1252}, {0x36, 1252}, {0x38, 1252}, {0x3E, 1252}, {0x41, 1252}, {0x56, 1252},
        // Central European.
        {0x05, 1250}, {0x0E, 1250}, {0x15, 1250}, {0x18, 1250}, {0x1A, 1250}, {0x1B, 1250}, {0x1C, 1250},
        {0x24, 1250},
        // Cyrillic.
        {0x02, 1251}, {0x19, 1251}, {0x22, 1251}, {0x23, 1251}, {0x2F, 1251}, {0x3F, 1251}, {0x40, 1251},
        {0x44, 1251}, {0x50, 1251},
        {0x08, 1253},  // Greek
        {0x1F, 1254}, {0x2C, 1254}, {0x43, 1254},  // Turkish, Azeri, Uzbek
        {0x0D, 1255},  // Hebrew
        {0x01, 1256}, {0x20, 1256}, {0x29, 1256},  // Arabic, Urdu, Farsi
        {0x25, 1257}, {0x26, 1257}, {0x27, 1257},  // Estonian, Latvian, Lithuanian
        {0x2A, 1258},  // Vietnamese
        {0x1E, 874},   // Thai
        {0x11, 932},   // Japanese
        {0x04, 936},   // Chinese (simplified; the traditional sublanguages use 950)
        {0x12, 949},   // Korean
    };
    for (const auto& entry : kTable) {
        if (entry.language == primaryLanguage) return entry.codePage;
    }
    return 0;
}

std::string CharactersLacking(uint32_t codePage, const std::u16string& text, int most) {
    std::string lacking;
    int shown = 0;
    for (size_t i = 0; i < text.size() && shown < most; ++i) {
        const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF;
        const std::u16string character = text.substr(i, pair ? 2 : 1);
        if (platform::FitInCodePage(codePage, character) == platform::CodePageFit::kLacksCharacters) {
            char narrow[kNarrowCapacity];
            lacking += (shown++ > 0 ? " " : "") + std::string(ToNarrow(narrow, character.c_str()));
        }
        if (pair) ++i;
    }
    return lacking;
}

LanguageSystem LanguageSystemOf(uint32_t primaryLanguage) {
    char tag[16];
    std::snprintf(tag, sizeof tag, "0x%2.2X", static_cast<unsigned>(primaryLanguage & 0x3FFu));
    return LanguageSystem{AnsiCodePageOf(primaryLanguage & 0x3FFu), tag};
}
