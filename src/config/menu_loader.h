#pragma once
// Turns the keys of install.ini into the menu model: section General, then the
// language's "Prompt-", "Copyright-" and "Button<n>-" sections.

#include <cstdint>

#include "config/menu_model.h"

// Fills the menu model from install.ini (already held by iniReader) in the
// language `languageTag`, which the language pass may replace with the first
// offered language's tag. 0 on success, -1 when ButtonCount is below 2.
int32_t LoadMenuConfiguration(const char* iniPath, char16_t (&languageTag)[kLanguageTagCapacity]);

// A configured coordinate or font height times the menu's scale, rounded half
// away from zero through a single-precision float. Results beyond the 32-bit
// range saturate.
void ScaleValue(int32_t& value);
void ScaleRect(Rect& rect);
void ScalePoint(Point& point);

// rect = 0,0,0,0, then "%d,%d,%d,%d" from text, scaled when `scaled`.
void ParseRect(Rect& rect, const char16_t* text, bool scaled);

// "%d,%d,%d" into red, green and blue; channels not read keep their values.
void ReadColor(const char16_t* text, ColorTriple& color);

// A button pane with "3d" or "3D" anywhere in its value gets a bevel.
bool WantsBevel(const char16_t* text);

// The copyright line when install.ini names none.
constexpr const char16_t* kBuiltInCopyright = u"Disc menu by Tessaline";
