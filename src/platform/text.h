#pragma once
// Conversion of wide (UTF-16) texts into the narrow texts that system calls take.

constexpr int kNarrowCapacity = 256;

// Converts src into the system's ANSI code page (UTF-8 in the host build).
// Characters the code page lacks become its default character. The result
// always fits 255 bytes plus terminator; a longer text is cut at a character
// boundary. Returns dst.
char* ToNarrow(char (&dst)[kNarrowCapacity], const char16_t* src);

namespace platform {

// The next character of a narrow text in the system's ANSI code page (UTF-8
// in the host build): past both bytes of a double-byte character. At the
// terminator, the terminator itself.
const char* NextCharacter(const char* text);

}  // namespace platform
