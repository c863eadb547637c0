#pragma once
// The menu on each screen the check takes, in each language a user may get:
// the window on the screen, every button within reach, and fonts that stay
// readable at the scale the screen gives.

#include "check/check_context.h"

void CheckScreens(CheckContext& check);
