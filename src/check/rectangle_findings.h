#pragma once
// The rectangles and the copyright position of one language, as the loader
// scaled them: each one inside the window.

#include <string>

#include "check/check_context.h"

void CheckRectangles(CheckContext& check, const std::u16string& tag);
