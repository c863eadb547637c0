#pragma once
// The ANSI code page of a Windows system by the primary language it is set
// up for: the code page that the menu's narrow texts (the help texts among
// them) are converted into there.

#include <cstdint>
#include <string>

// 0 when the language has no ANSI code page of its own or is not known here.
uint32_t AnsiCodePageOf(uint32_t primaryLanguage);

// The first `most` characters of `text` that the code page lacks, as this
// build prints text, separated by blanks.
std::string CharactersLacking(uint32_t codePage, const std::u16string& text, int most);

// The code page a language's texts are converted into on a system set up
// for it, and that language's tag ("0x09"), for the findings that name it.
struct LanguageSystem {
    uint32_t codePage;  // 0 when AnsiCodePageOf does not know it
    std::string tag;
};
LanguageSystem LanguageSystemOf(uint32_t primaryLanguage);
