#pragma once
// The menu's three configurable fonts, from font values such as
// "13,400,0,0,MS Sans Serif": height, weight, italic, underline, face.

#include "platform/font.h"

// The description a font value asks for, on top of the default GUI font's
// character set; height scaled. False when the value has no comma,
// and so no face.
[[nodiscard]] bool DescribeFont(const char16_t* value, const platform::FontDescription& defaultFont,
                  platform::FontDescription* description);

// Makes the fonts the loader asked for (copyright, button, help), each
// checked for the face the system really gives it, and clears the requests.
void MakeRequestedFonts();
