#pragma once
// Text in a chosen ANSI code page, whatever code page the running system
// itself uses: whether a text can be shown there, and reading bytes from it.

#include <cstdint>
#include <string>

namespace platform {

// The running system's own ANSI code page (Windows-1252 where the system has none).
constexpr uint32_t kSystemCodePage = 0;

enum class CodePageFit {
    kFits,              // every character has its own exact form
    kLacksCharacters,   // some become the default character or a look-alike
    kUnknownCodePage,   // the code page cannot be used here
};

// Whether `text` fits the code page; `bytes`, when given, receives the text
// in it as the system converts it, each character it lacks as "?" (empty
// when the code page is unknown).
CodePageFit FitInCodePage(uint32_t codePage, const std::u16string& text, std::string* bytes = nullptr);

// The bytes, read in the code page, as UTF-16; false when the code page
// cannot be used here or the bytes are not text in it.
bool WidenFromCodePage(uint32_t codePage, const std::string& bytes, std::u16string* text);

}  // namespace platform
