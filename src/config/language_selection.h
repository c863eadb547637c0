#pragma once
// The offered languages: the language table, the choice of the default, the
// test whether a language can be used here, and the language list.

#include <cstddef>
#include <cstdint>

#include "config/menu_model.h"
#include "platform/types.h"

// The language pass of the configuration loader: builds the language table
// from section Languages and the list section "LangCombo-<tag>", refills the
// list, picks the default entry and may replace `tag` with the first offered
// language's tag (when `tag` is none of the offered tags and the user's
// language is not offered).
void ReadLanguages(char16_t (&tag)[kLanguageTagCapacity]);

// The name shown for a language: its value up to the last comma when the
// language is installed, after it when not, all of it without a comma.
void LanguageDisplayName(const char16_t* value, bool installed, char16_t* name, size_t capacity);

// True when an installed system locale has the identifier's primary language.
bool IsLanguageInstalled(uint32_t identifier);

// Switches the menu to the offered language `index`; false, after telling the
// user in a box owned by `owner`, when that language cannot be used here.
bool SelectLanguage(platform::Window owner, int32_t index, bool fatal);

// The language list, a child of the menu window; filled, default selected.
void CreateLanguageBox(platform::Window parent, platform::Instance instance);

// A new choice in the list.
void OnLanguageChosen(platform::Window box);

// The list's procedure: Tab and Shift+Tab move to the buttons, Esc ends the menu.
intptr_t LanguageBoxProc(platform::Window window, uint32_t message, uintptr_t first, intptr_t second);
