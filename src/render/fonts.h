#pragma once
// The menu's three configurable fonts, from font specifications such as
// "13,400,0,0,MS Sans Serif": height, weight, italic, underline, face.

#include "platform/font.h"

// The description a specification asks for, on top of the default GUI font's
// character set; height scaled. False when the specification has no comma,
// and so no face.
bool DescribeFont(const char16_t* specification, const platform::FontDescription& defaultFont,
                  platform::FontDescription* description);

// The copyright font, and the copyright colours from six numbers (deep
// displays, then displays of 8 bits per pixel or fewer).
void CreateCopyrightFont(const char16_t* fontSpecification, const char16_t* colorSpecification);
void CreateButtonFont(const char16_t* specification);
void CreateHelpFont(const char16_t* specification);
