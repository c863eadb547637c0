#pragma once
// Windows, the window class, the message loop, message boxes and the display.

#include <cstdint>

#include "platform/types.h"

namespace platform {

// A top-level window of the class, whatever its title; none when there is none.
Window FindTopLevelWindow(const char* className);
void BringToForeground(Window window);
Window LastActivePopup(Window window);

// An information context for the display, asked for its colour count: -1
// when the display has more than 256 colours.
[[nodiscard]] DrawingContext CreateDisplayInfo();
int32_t DisplayColorCount(DrawingContext info);
void ReleaseDisplayInfo(DrawingContext info);

// The screen rectangle that task bars leave free.
Rect WorkArea();

// Grows a client rectangle by the frame of the style, without a menu bar.
void GrowByFrame(Rect* rect, uint32_t style, uint32_t extendedStyle);

// Registers a class with the program's icon `iconId`, the arrow cursor, class
// style 0 and no background brush. False on failure.
[[nodiscard]] bool RegisterWindowClass(const char* className, WindowProcedure procedure, int iconId);
void UnregisterWindowClass(const char* className);

[[nodiscard]] Window CreateTopLevelWindow(uint32_t extendedStyle, const char* className, const char* title,
                                          uint32_t style, int32_t x, int32_t y, int32_t width, int32_t height);
void ShowTopLevelWindow(Window window, int showCommand);
// Sends the pending paint request at once.
void PaintNow(Window window);
void DestroyTopLevelWindow(Window window);

// Waits for the next message of this thread, translates keys and dispatches
// it. False when the message is the quit request.
[[nodiscard]] bool DispatchNextMessage();
void PostQuitRequest();
intptr_t DefaultWindowProcedure(Window window, uint32_t message, uintptr_t first, intptr_t second);

// Returns when the box is dismissed.
void ShowMessageBox(Window owner, const char* text, const char* title, uint32_t flags);

void SetWindowTitle(Window window, const char* title);
// The window's current style and extended style.
void WindowStyles(Window window, uint32_t* style, uint32_t* extendedStyle);
// Asks for a repaint of the whole client area, with the background erased.
void RequestRepaint(Window window);

// A child control of a system class, with control identifier 0.
[[nodiscard]] Window CreateChildWindow(const char* className, const char* title, uint32_t style, int32_t x,
                                       int32_t y, int32_t width, int32_t height, Window parent, Instance instance);
// The program instance carried by a window-creation message's second parameter.
Instance InstanceFromCreation(intptr_t creationParameter);
// Replaces a window's procedure; returns the previous one. The program
// replaces the procedure of one window only.
[[nodiscard]] NativeProcedure ReplaceWindowProcedure(Window window, WindowProcedure procedure);
intptr_t CallNativeProcedure(NativeProcedure procedure, Window window, uint32_t message, uintptr_t first,
                             intptr_t second);

// Drop-down list control; all of these do nothing when `list` is none.
void ListReset(Window list);
void ListAdd(Window list, const char* text);
void ListSelect(Window list, int32_t index);
// The selected entry, or -1.
int32_t ListSelection(Window list);

void SetKeyboardFocus(Window window);
// Asks for one kMouseLeave message when the pointer next leaves the window's client area.
void TrackPointerLeave(Window window);
bool IsShiftHeld();
// True when `window` is a child (at any depth) of `parent`.
bool IsChildOf(Window parent, Window window);

// Milliseconds since the system started, wrapping at 32 bits.
uint32_t TickCount();
// Blocks the thread.
void Wait(uint32_t milliseconds);
// A timer that sends the window a timer message after `milliseconds`; 0 on failure.
[[nodiscard]] TimerId StartTimer(Window window, uint32_t milliseconds);
void StopTimer(Window window, TimerId timer);
// Sends the window the close message, handled at once on this thread.
void SendCloseMessage(Window window);

}  // namespace platform
