#pragma once
// Language tags: "0x" and the identifier in upper-case hexadecimal, at least
// two digits (0x09, 0x0C, 0x409). They name the per-language sections.

#include <cstddef>
#include <cstdint>

void FormatLanguageTag(uint32_t identifier, char16_t* dst, size_t capacity);

// The tag of the user's primary language: the low 10 bits of the identifier.
void UserLanguageTag(uint16_t userLanguageId, char16_t* dst, size_t capacity);
