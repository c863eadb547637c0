#pragma once
// Small helpers of the disc check over install.ini's texts as the menu's
// reader holds them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

constexpr const char16_t* kGeneral = u"General";

// The system's ANSI text, as the menu converts it.
std::string Narrow(const std::u16string& text);
std::u16string Widen(const std::string& ascii);
// A to Z folded, as the reader compares section and key names.
std::u16string Fold(std::u16string text);
bool IsBlank(char16_t unit);
std::u16string TrimRight(std::u16string text);

// The value of a key as the reader gives it; empty when there is none.
std::u16string IniValue(const std::u16string& section, const std::u16string& key);
// "Button<n>-<tag>".
std::u16string ButtonSection(int32_t number, const std::u16string& tag);
// The line that set a layout value of a language: its Prompt- section's key
// when that has a value, else General's; 0 for neither.
int32_t LayoutLine(const std::u16string& tag, const char16_t* key);

// The identifier of [Languages]' language<n> as the menu reads it ("%i,%d");
// false when the entry holds none.
bool LanguageEntry(int32_t n, int32_t* identifier);

// A float to four significant digits, as a scale reads best; a rectangle as
// install.ini writes it.
std::string Decimal(float value);
std::string RectText(const Rect& r);

// Edits that turn one text into the other, letter case ignored.
size_t EditDistance(const std::u16string& a, const std::u16string& b);
// The candidate nearest to `key` in edits, letter case ignored.
std::u16string Nearest(const std::u16string& key, const std::vector<std::u16string>& candidates);

// Where a value read with "%i" holds a number with a leading 0, which reads
// as octal and so otherwise than it looks: the number as written and what it
// reads as ("012 reads as 10"); empty when there is none.
std::string OctalReading(const std::u16string& value);

inline int32_t LineOr(int32_t line, int32_t fallback) {
    return line != 0 ? line : fallback;
}
