#pragma once

#include <cstdint>

#include "platform/types.h"

// The menu window's message handler.
intptr_t MenuWindowProc(platform::Window window, uint32_t message, uintptr_t first, intptr_t second);
