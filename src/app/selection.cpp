#include "app/selection.h"

#include <initializer_list>

#include "config/menu_model.h"
#include "platform/accessibility.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "render/menu_painting.h"

namespace {

void Redraw() {
    DrawButtons(nullptr);
    DrawHelp(nullptr);
}

bool Contains(const Rect& rect, int32_t x, int32_t y) {
    return rect.left <= x && x < rect.right && rect.top <= y && y < rect.bottom;
}

int32_t ButtonCount() {
    return menu.buttonCount < kMaxButtons ? menu.buttonCount : kMaxButtons;
}

bool IsButton(int32_t index) {
    return index >= 0 && index < ButtonCount();
}

// The walk over the buttons under (x, y) in index order; only `armed` counts
// when it is a button.
int32_t WalkButtonsUnder(int32_t x, int32_t y, int32_t current, int32_t armed, void (*onStep)(int32_t index)) {
    bool found = false;
    int32_t target = current;
    for (int32_t i = 0; i < ButtonCount(); ++i) {
        if (!Contains(menu.buttons[i].rect, x, y)) continue;
        if (armed != -1 && armed != i) continue;
        found = true;
        if (target == i) break;
        target = i;
        if (onStep != nullptr) onStep(i);
    }
    return found ? target : -1;
}

}  // namespace

void MoveSelection(bool forward, bool fromList) {
    const int32_t count = ButtonCount();
    const bool listInCycle = menu.languageCount > 1;
    int32_t& selected = menu.selectedIndex;
    if (fromList) selected = -1;
    if (forward) {
        selected = selected == -1 ? 0 : selected + 1;
        if (selected >= count) selected = listInCycle ? -1 : 0;
    } else {
        selected = selected == -1 ? count - 1 : selected - 1;
        if (selected < 0) selected = listInCycle ? -1 : count - 1;
    }
    if (!IsButton(selected)) selected = -1;
    if (selected == -1) {
        platform::SetKeyboardFocus(menu.languageBox);
    } else if (fromList) {
        platform::SetKeyboardFocus(menu.mainWindow);
    }
    Redraw();
    if (selected != -1) platform::RaiseAccessibleEvent(menu.mainWindow, accessible::kEventFocus, selected + 1);
}

int32_t HoverTarget(int32_t x, int32_t y, int32_t current, void (*onStep)(int32_t index)) {
    return WalkButtonsUnder(x, y, current, menu.armedIndex, onStep);
}

int32_t ButtonUnder(int32_t x, int32_t y, int32_t current) {
    return WalkButtonsUnder(x, y, current, -1, nullptr);
}

int32_t HotButton() {
    if (!menu.pointerInside) return -1;
    return HoverTarget(menu.lastMousePos.x, menu.lastMousePos.y, menu.selectedIndex);
}

// The window hears of the pointer's leaving only when it asked to, once per
// entry: moves tell no more than where the pointer is while inside. A
// position already handled changes no selection, also when the pointer comes
// back into the window there (over a highlight the keys moved meanwhile) or
// first shows at the initial 0,0; only its hot state follows.
void OnPointerMove(int32_t x, int32_t y) {
    if (!menu.isActive) return;
    const int32_t hotBefore = HotButton();
    if (!menu.pointerInside) platform::TrackPointerLeave(menu.mainWindow);
    menu.pointerInside = true;
    const bool moved = menu.lastMousePos.x != x || menu.lastMousePos.y != y;
    menu.lastMousePos = Point{x, y};
    // A press that began outside every button highlights nothing.
    if (moved && (!menu.isPressed || menu.armedIndex != -1)) {
        // Every step over overlapping buttons is drawn, as the pointer passes them.
        const int32_t target = HoverTarget(x, y, menu.selectedIndex, [](int32_t index) {
            menu.selectedIndex = index;
            Redraw();
        });
        if (target == -1) {
            menu.selectedIndex = -1;
            Redraw();
        } else {
            platform::SetKeyboardFocus(menu.mainWindow);
        }
    }
    const int32_t hotAfter = HotButton();
    if (hotAfter == hotBefore) return;
    for (int32_t changed : {hotBefore, hotAfter}) {
        if (changed != -1) platform::RaiseAccessibleEvent(menu.mainWindow, accessible::kEventStateChange, changed + 1);
    }
}

void OnPointerLeave() {
    const int32_t hot = HotButton();
    menu.pointerInside = false;
    if (hot != -1) platform::RaiseAccessibleEvent(menu.mainWindow, accessible::kEventStateChange, hot + 1);
}

void OnPointerPress() {
    if (!menu.isActive) return;
    menu.isPressed = true;
    if (menu.selectedIndex != -1) {
        Redraw();
        menu.armedIndex = menu.selectedIndex;
    }
}

// A launch may run a nested message loop (a message box); input handled
// there still finds the button armed.
void OnPointerRelease(int32_t x, int32_t y, ButtonLauncher launch) {
    if (!menu.isActive) return;
    menu.isPressed = false;
    int32_t hit = -1;
    for (int32_t i = 0; i < ButtonCount() && hit == -1; ++i) {
        if (Contains(menu.buttons[i].rect, x, y)) hit = i;
    }
    if (menu.armedIndex == -1) return;
    Redraw();
    if (hit == menu.armedIndex) launch(hit);
    menu.armedIndex = -1;
}

void OnKeyPress(uint32_t key) {
    if (!menu.isActive) return;
    const bool shift = platform::IsShiftHeld();
    switch (key) {
        case key::kTab:
        case key::kRight:
        case key::kDown:
            MoveSelection(!shift);
            break;
        case key::kLeft:
        case key::kUp:
            MoveSelection(false);
            break;
        case key::kReturn:
            if (IsButton(menu.selectedIndex)) {
                menu.armedIndex = menu.selectedIndex;
                menu.isPressed = true;
                Redraw();
            }
            break;
        case key::kEscape:
            platform::PostQuitRequest();
            break;
        default:
            break;
    }
}

void OnKeyRelease(uint32_t key, ButtonLauncher launch) {
    if (!menu.isActive || key != key::kReturn || !IsButton(menu.selectedIndex)) return;
    menu.armedIndex = -1;
    menu.isPressed = false;
    Redraw();
    launch(menu.selectedIndex);
}

void OnFocusGained() {
    menu.isActive = true;
}

void OnFocusLost(bool toOwnChild) {
    if (toOwnChild) return;
    menu.selectedIndex = -1;
    menu.armedIndex = -1;
    Redraw();
    menu.isActive = false;
}

int32_t CloseWaitRemaining(uint32_t now, uint32_t shownAt) {
    const int32_t elapsed = static_cast<int32_t>(now - shownAt);
    if (elapsed >= kCloseDelay) return 0;
    return static_cast<int32_t>(static_cast<int64_t>(kCloseDelay) - elapsed > INT32_MAX
                                    ? INT32_MAX
                                    : static_cast<int64_t>(kCloseDelay) - elapsed);
}

Point PointerPosition(intptr_t second) {
    const auto bits = static_cast<uint32_t>(second);
    return Point{static_cast<int16_t>(bits & 0xFFFF), static_cast<int16_t>((bits >> 16) & 0xFFFF)};
}
