#pragma once
// The menu window's accessible object, made from the accessibility tree
// (app/accessible_tree.h), and the events that tell assistive tools of changes.

#include <cstdint>

#include "platform/types.h"

namespace platform {

// The answer to the window's request for its client-area object, whose first
// parameter is `first`: the object made on first need, with the system's
// accessibility library loaded then from the system folder. 0 when that
// library or the object is not to be had.
intptr_t AnswerAccessibleObjectRequest(Window window, uintptr_t first);

// Cuts the window's object loose: references that assistive tools still hold
// answer "not connected" from now on and touch nothing of the menu. Ends the
// use of COM that the first request began.
void DisconnectAccessibleObject();

// Tells assistive tools of a change of the window's client-area child `child`.
void RaiseAccessibleEvent(Window window, uint32_t event, int32_t child);

}  // namespace platform
