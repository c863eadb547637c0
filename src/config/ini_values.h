#pragma once
// The rectangles, colours and bevel flag of install.ini values.

#include "config/menu_model.h"
#include "platform/types.h"

// "%d,%d,%d,%d" from text over 0,0,0,0, scaled when `scaled`.
[[nodiscard]] Rect ParseRect(const char16_t* text, bool scaled);

// "%d,%d,%d" into red, green and blue; channels not read keep their values.
void ReadColor(const char16_t* text, ColorTriple* color);

// A button pane with "3d" or "3D" anywhere in its value gets a bevel.
bool WantsBevel(const char16_t* text);
