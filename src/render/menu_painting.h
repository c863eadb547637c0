#pragma once

#include "platform/types.h"

// Draw the buttons and the help area onto the target, or straight onto the
// menu window when the target is none.
void DrawButtons(platform::DrawingContext target);
void DrawHelp(platform::DrawingContext target);
