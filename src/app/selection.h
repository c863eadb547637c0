#pragma once
// The menu's selection rules: which button is highlighted, which one a press
// began on, whether a press is held. Input events change the menu model and
// redraw the buttons and the help area; a completed press launches its
// button. While the menu is inactive, pointer and key input changes nothing.

#include <cstdint>

#include "platform/types.h"

// One step along the Tab order: the language list (as -1) when several
// languages are offered, then the buttons; a plain cycle through the buttons
// otherwise. `fromList`: the step leaves the language list, which has the
// focus; the menu window takes it back when a button is reached.
void MoveSelection(bool forward, bool fromList = false);

// Runs button `index`'s programs (the window procedure passes LaunchButton).
using ButtonLauncher = void (*)(int32_t index);

// The button a pointer at (x, y) highlights while button `current` is
// highlighted (-1: none): among the buttons under it (only the armed one
// while a press is held), the current one when it comes first, else the
// last. `onStep`, when given, sees each button the walk passes on the way.
int32_t HoverTarget(int32_t x, int32_t y, int32_t current, void (*onStep)(int32_t index) = nullptr);
// The same as if no press were held.
int32_t ButtonUnder(int32_t x, int32_t y, int32_t current);

// The button the pointer's last position highlights while the pointer is
// over the client area; -1: none.
int32_t HotButton();

// Assistive tools hear of each button that becomes or stops being hot.
void OnPointerMove(int32_t x, int32_t y);
// The pointer left the client area (for another window, the language list
// among them); the highlight stays as it is.
void OnPointerLeave();
void OnPointerPress();
// Launches the armed button when the release is over it; the button stays
// armed while its programs start.
void OnPointerRelease(int32_t x, int32_t y, ButtonLauncher launch);

// A highlight moved to a button by key is told to assistive tools as a focus change.
void OnKeyPress(uint32_t key);
// Enter's release launches the selected button, disarmed first.
void OnKeyRelease(uint32_t key, ButtonLauncher launch);

void OnFocusGained();
// `toOwnChild`: the focus goes to a child of the menu window (the language list).
void OnFocusLost(bool toOwnChild);

// The least time between the window's showing and an automatic close.
constexpr int32_t kCloseDelay = 0;
// Milliseconds still to wait before a close request may close the window;
// 0 or less: close now. Tick counts wrap; their difference reads as signed.
int32_t CloseWaitRemaining(uint32_t now, uint32_t shownAt);

// Pointer position from a pointer message's second parameter: two signed
// 16-bit halves, x low.
Point PointerPosition(intptr_t second);
