#pragma once
// Reading numbers out of install.ini values with the standard formatted-input
// patterns ("%d,%d,%d,%d", "%i,%i"). A number may have leading white space and
// a sign; a literal in the pattern must follow directly. Reading stops at the
// first character that does not fit; targets not reached keep their values.

#include <cstddef>
#include <cstdint>

// Pattern items: "%d" (decimal), "%i" (decimal, 0x hexadecimal or 0 octal),
// white space (skips any white space) and literal characters. Returns the
// number of targets assigned. Digits beyond 32 bits wrap around.
int ScanIntegers(const char16_t* text, const char* pattern, int32_t* const targets[], size_t targetCount);

// Just past the last comma of the text; null when it holds none. A font
// value's face and a language entry's name for systems without the language
// follow it.
[[nodiscard]] const char16_t* AfterLastComma(const char16_t* text);
