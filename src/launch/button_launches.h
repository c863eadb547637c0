#pragma once
// What a completed press of one button starts.

#include <cstdint>
#include <vector>

#include "launch/unattended.h"

// The launches of button `index`, in order: its preparatory program when
// PreRunAllowed says so, then its main program. None when the button has
// neither a path nor arguments: such a button can only end the menu. The
// texts belong to the menu model.
std::vector<LaunchRequest> ButtonLaunches(int32_t index);
