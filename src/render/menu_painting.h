#pragma once
// Painting the menu window from the menu model: background colour, picture,
// button pane, buttons, help area, copyright line and edge, in that order.

#include <cstdint>

#include "platform/types.h"

// The whole client area, for a paint request.
void PaintMenuWindow(platform::Window window);

// The button pane's fill and bevel.
void PaintButtonPane(platform::DrawingContext target);

// Draw the buttons and the help area onto the target, or straight onto the
// menu window when the target is none.
void DrawButtons(platform::DrawingContext target);
void DrawHelp(platform::DrawingContext target);
// The help area's text: the highlighted button's help, else the default help.
const char16_t* ShownHelpText();

// The copyright line, in the colour for the target's depth.
void DrawCopyright(platform::DrawingContext target);

// A one-pixel frame just inside the rectangle, lit from the top left when
// raised and from the bottom right when sunken. Target none: the menu window.
void DrawBevel(platform::DrawingContext target, const Rect& rect, uint32_t color, bool sunken);

// The bevel's light colour (each channel 3c / 2, at most 255) and dark colour
// (each channel 2c / 5) of a 0x00BBGGRR colour.
uint32_t BevelLight(uint32_t color);
uint32_t BevelDark(uint32_t color);

// The off-screen picture every button is composed in: one pixel larger than
// the largest button in each direction.
Size ButtonPictureSize();
