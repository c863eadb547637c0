#pragma once
// The rectangles and the copyright position of one language, as the loader
// placed them: each one inside the window, none over another.

#include <string>

#include "check/check_context.h"

void CheckRectangles(CheckContext& check, const std::u16string& tag);

// Buttons, the help area and the language list's box that overlap, and a
// copyright line that reaches below the window.
void CheckOverlaps(CheckContext& check, const std::u16string& tag);
