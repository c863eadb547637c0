#pragma once
// What the layout picture shows going wrong, as lines of the dry run's
// report: elements that overlap, that reach outside the window, and a window
// or elements that reach outside the screen.

#include <string>
#include <vector>

#include "check/layout_elements.h"

// `window` is on the screen; the elements' rectangles are in the window.
std::vector<std::string> LayoutFindings(const std::vector<LayoutElement>& elements, const Rect& window,
                                        const Size& screen);
