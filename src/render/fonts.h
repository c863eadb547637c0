#pragma once
// The menu's three configurable fonts, from font values such as
// "13,400,0,0,MS Sans Serif": height, weight, italic, underline, face.

#include "platform/font.h"

// The description a font value asks for, on top of the default GUI font's
// character set; height scaled. False when the value has no comma,
// and so no face.
bool DescribeFont(const char16_t* value, const platform::FontDescription& defaultFont,
                  platform::FontDescription* description);

// The copyright font, and the copyright colours from six numbers (deep
// displays, then displays of 8 bits per pixel or fewer).
void CreateCopyrightFont(const char16_t* fontValue, const char16_t* colorValue);
void CreateButtonFont(const char16_t* value);
void CreateHelpFont(const char16_t* value);
