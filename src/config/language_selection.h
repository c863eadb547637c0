#pragma once
// The offered languages: the language table, the choice of the default, the
// test whether a language can be used here, and the texts of a refusal.

#include <cstddef>
#include <cstdint>

#include "config/ini_reader.h"
#include "config/menu_model.h"

// The language pass of the configuration loader: builds the language table
// from section Languages and the list section "LangCombo-<tag>", picks the
// default entry and may replace `tag` with the first offered
// language's tag (when `tag` is none of the offered tags and the user's
// language is not offered).
void ReadLanguages(char16_t (&tag)[kLanguageTagCapacity]);

// The name shown for a language: its value up to the last comma when the
// language is installed, after it when not, all of it without a comma.
void LanguageDisplayName(const char16_t* value, bool installed, char16_t* name, size_t capacity);

// True when an installed system locale has the identifier's primary language.
[[nodiscard]] bool IsLanguageInstalled(uint32_t identifier);

// The first integer of a text read with "%i" (a language tag such as
// "0x09"); 0 when it holds none.
uint32_t ReadIdentifier(const char16_t* text);

// The box that refuses a language: from the list section of the user's own
// language, else the built-in texts (the fatal one at start-up).
struct UnsupportedLanguageText {
    char16_t text[kIniValueCapacity];
    char16_t caption[kIniValueCapacity];
};
UnsupportedLanguageText ReadUnsupportedLanguageText(bool fatal);
