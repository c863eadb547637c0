#pragma once

#include <cstdint>

#include "platform/types.h"

// The menu window class: also how a second start finds the open menu.
constexpr const char* kMenuWindowClass = "Quorvan Belmira Autorun";

// The menu window's message handler.
intptr_t MenuWindowProc(platform::Window window, uint32_t message, uintptr_t first, intptr_t second);

// Runs button `index`'s programs after a short pause: the preparatory one when
// its condition allows, then the main one; then ends the menu when the
// button says so.
void LaunchButton(int32_t index);
