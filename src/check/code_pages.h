#pragma once
// The ANSI code page of a Windows system by the primary language it is set
// up for: the code page that the menu's narrow texts (the help texts among
// them) are converted into there.

#include <cstdint>

// 0 when the language has no ANSI code page of its own or is not known here.
uint32_t AnsiCodePageOf(uint32_t primaryLanguage);
