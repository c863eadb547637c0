#pragma once
// The menu as an accessibility tree: the window's client area (child 0), one
// child per button (1 to N), the help area (N + 1), the copyright line
// (N + 2) and, when it exists, the language list (N + 3). Computed from the
// menu model; the platform's accessible object only translates.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

enum class AccessibleKind { Self, Button, HelpArea, Copyright, LanguageList, None };

// Children of the client area, the object itself not counted.
int32_t AccessibleChildCount();
AccessibleKind AccessibleKindOf(int32_t child);
// Roles and states as the system numbers them; role 0 for the list and for no child.
uint32_t AccessibleRole(int32_t child);
uint32_t AccessibleState(int32_t child);
// Names and descriptions of buttons, help area and copyright line; none otherwise.
const char16_t* AccessibleName(int32_t child);
const char16_t* AccessibleDescription(int32_t child);
// The names of children 1 to N + 2, to compare across a language switch.
std::vector<std::u16string> AccessibleNames();
// The child's rectangle in client coordinates; false for the object itself and the list.
bool AccessibleLocation(int32_t child, Rect* rect);
// The child at a client point: the button there (of overlapping ones, the
// one hovering would highlight, whether or not a press is held), else the
// help area or copyright line, else the object itself.
int32_t AccessibleHitTest(int32_t x, int32_t y);
// Which window of the menu has the keyboard focus, if any.
enum class KeyboardFocus { Menu, List, Elsewhere };
// The keyboard-highlighted button; else the list or the object itself,
// whichever has the focus; -1 when the focus is elsewhere.
int32_t AccessibleFocus(KeyboardFocus focus);
// The next or previous child in Tab order (the list, the buttons, the help
// area, the copyright line); from the object itself, the first or the last.
// -1 past either end.
int32_t AccessibleNavigate(int32_t from, bool forward);
// The button index a child stands for; -1 when it is no button.
int32_t AccessibleButtonIndex(int32_t child);
