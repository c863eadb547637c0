#pragma once
// Turns the keys of install.ini into the menu model: section General, then the
// language's "Prompt-", "Copyright-" and "Button<n>-" sections.

#include <cstdint>

#include "config/menu_model.h"

// Fills the menu model from install.ini (already held by iniReader) in the
// language `languageTag`, which the language pass may replace with the first
// offered language's tag. The window rectangle is grown by `frame` (what the
// window's frame adds on each side: left and top negative; none before the
// window exists) and centred on the work area. The fonts asked for are left
// as requests for the font step. 0 on success, -1 when ButtonCount is below
// 2, after everything before the buttons is read.
[[nodiscard]] int32_t LoadMenuConfiguration(char16_t (&languageTag)[kLanguageTagCapacity], const Rect& frame = Rect{});

// The copyright line when install.ini names none.
constexpr const char16_t* kBuiltInCopyright = u"Disc menu by Tessaline";
