#pragma once
// The language list, a child of the menu window, and the switch to another
// offered language: the model reloaded in it, its fonts made, the list, the
// window's title and its picture brought up to date.

#include <cstdint>

#include "platform/types.h"

// Switches the menu to the offered language `index`; false, after telling the
// user in a box owned by `owner`, when that language cannot be used here.
[[nodiscard]] bool SelectLanguage(platform::Window owner, int32_t index, bool fatal);

// The language list, a child of the menu window; filled, default selected.
void CreateLanguageBox(platform::Window parent, platform::Instance instance);

// A new choice in the list.
void OnLanguageChosen(platform::Window box);

// The list's procedure: Tab and Shift+Tab move to the buttons, Esc ends the menu.
intptr_t LanguageBoxProc(platform::Window window, uint32_t message, uintptr_t first, intptr_t second);
