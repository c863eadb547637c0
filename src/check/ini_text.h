#pragma once
// Small helpers of the disc check over install.ini's texts as the menu's
// reader holds them.

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

// A float with as many digits as it holds; a rectangle as install.ini writes it.
std::string Decimal(float value);
std::string RectText(const Rect& r);

// The candidate nearest to `key` in edits, letter case ignored.
std::u16string Nearest(const std::u16string& key, const std::vector<std::u16string>& candidates);

inline int32_t LineOr(int32_t line, int32_t fallback) {
    return line != 0 ? line : fallback;
}
