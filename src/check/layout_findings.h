#pragma once
// What the layout picture shows going wrong, as lines of the dry run's
// report: elements that overlap, that reach outside the window, and a window
// or elements that reach outside the screen.

#include <string>
#include <vector>

#include "check/layout_elements.h"

enum class LayoutFaultKind { kWindowOffScreen, kOverlap, kOutsideWindow, kOffScreen };

struct LayoutFault {
    LayoutFaultKind kind;
    size_t element;  // the element's index; none for the window
    size_t other;    // the second element of an overlap
    bool wholly;     // nothing of it is inside (outside the window or the screen)
    std::string text;
};

// `window` is on the screen; the elements' rectangles are in the window.
std::vector<LayoutFault> LayoutFaults(const std::vector<LayoutElement>& elements, const Rect& window,
                                      const Size& screen);

// Their texts.
std::vector<std::string> LayoutFindings(const std::vector<LayoutElement>& elements, const Rect& window,
                                        const Size& screen);
