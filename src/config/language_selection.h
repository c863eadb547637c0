#pragma once

#include <cstdint>

#include "platform/types.h"

// Switches the menu to the offered language `index`; false, after telling the
// user, when that language cannot be used.
bool SelectLanguage(platform::Window owner, int32_t index, bool fatal);
