#include "app/menu_window.h"

#include <cstddef>
#include <string>
#include <vector>

#include "app/accessible_tree.h"
#include "app/language_list.h"
#include "app/selection.h"
#include "config/menu_model.h"
#include "launch/button_launches.h"
#include "launch/program_launcher.h"
#include "launch/unattended.h"
#include "platform/accessibility.h"
#include "platform/bitmap.h"
#include "platform/font.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "render/menu_painting.h"

namespace {

constexpr uint32_t kLaunchPause = 200;  // milliseconds before a button's programs start

void Release(platform::Font& font) {
    if (font != nullptr) platform::ReleaseFont(font);
    font = nullptr;
}

// Closes now, or once the least showing time has passed. True when closed now.
bool OnCloseRequest(platform::Window window) {
    const int32_t remaining = CloseWaitRemaining(platform::TickCount(), menu.shownAt);
    if (remaining > 0) {
        menu.closeTimer = platform::StartTimer(window, static_cast<uint32_t>(remaining));
        if (menu.closeTimer != 0) return false;
    }
    platform::SendCloseMessage(window);
    return true;
}

void OnDestroy(platform::Window window) {
    Release(menu.copyrightFont);
    Release(menu.buttonFont);
    Release(menu.helpFont);
    if (menu.backgroundBitmap != nullptr) platform::ReleaseBitmap(menu.backgroundBitmap);
    menu.backgroundBitmap = nullptr;
    if (menu.closeTimer != 0) platform::StopTimer(window, menu.closeTimer);
    menu.closeTimer = 0;
    platform::DisconnectAccessibleObject();
    platform::PostQuitRequest();
    menu.mainWindow = nullptr;
}

// Switches the language from the list; assistive tools then hear of the
// window's new title and of every child whose name changed.
void ChooseLanguage(platform::Window window, platform::Window list) {
    const int32_t language = menu.languageIndex;
    const std::vector<std::u16string> before = AccessibleNames();
    OnLanguageChosen(list);
    if (menu.languageIndex == language) return;
    platform::RaiseAccessibleEvent(window, accessible::kEventNameChange, accessible::kSelf);
    const std::vector<std::u16string> after = AccessibleNames();
    for (std::size_t k = 0; k < after.size(); ++k) {
        if (k >= before.size() || after[k] != before[k]) {
            platform::RaiseAccessibleEvent(window, accessible::kEventNameChange, static_cast<int32_t>(k) + 1);
        }
    }
}

// Handles the message; true when it has its own result in `result`.
bool Handle(platform::Window window, uint32_t message, uintptr_t first, intptr_t second, intptr_t* result) {
    switch (message) {
        case msg::kCreate:
            if (menu.unattended) {
                RunAllUnattended();
            } else if (menu.languageCount > 1) {
                CreateLanguageBox(window, platform::InstanceFromCreation(second));
            }
            return false;
        case msg::kDestroy:
            OnDestroy(window);
            return false;
        case msg::kSetFocus:
            OnFocusGained();
            return false;
        case msg::kKillFocus:
            OnFocusLost(platform::IsChildOf(window, reinterpret_cast<platform::Window>(first)));
            return false;
        case msg::kPaint:
            PaintMenuWindow(window);
            *result = 0;
            return true;
        case msg::kShowWindow:
            if (first != 0) menu.shownAt = platform::TickCount();
            return false;
        case msg::kKeyDown:
            OnKeyPress(static_cast<uint32_t>(first));
            return false;
        case msg::kKeyUp:
            OnKeyRelease(static_cast<uint32_t>(first), LaunchButton);
            return false;
        case msg::kCommand:
            if (menu.isActive && ((first >> 16) & 0xFFFF) == kListSelectionChanged) {
                ChooseLanguage(window, reinterpret_cast<platform::Window>(second));
            }
            return false;
        case msg::kTimer:
            platform::SendCloseMessage(window);
            *result = 0;
            return true;
        case msg::kMouseMove: {
            const Point p = PointerPosition(second);
            OnPointerMove(p.x, p.y);
            return false;
        }
        case msg::kMouseLeave:
            OnPointerLeave();
            return false;
        case msg::kLeftButtonDown:
        case msg::kLeftButtonDoubleClick:
            OnPointerPress();
            return false;
        case msg::kLeftButtonUp: {
            const Point p = PointerPosition(second);
            OnPointerRelease(p.x, p.y, LaunchButton);
            return false;
        }
        case msg::kGetObject:
            // Other objects (the window frame, the caret...) stay the system's.
            if (static_cast<int32_t>(second) != accessible::kClientObject) return false;
            *result = platform::AnswerAccessibleObjectRequest(window, first);
            return *result != 0;
        case msg::kPressButton: {
            // Posted by the accessible object, so that a program starts from
            // this loop and never inside an assistive tool's call.
            const int32_t index = first < kMaxButtons ? AccessibleButtonIndex(static_cast<int32_t>(first) + 1) : -1;
            if (index != -1) LaunchButton(index);
            *result = 0;
            return true;
        }
        case msg::kUser:
            if (OnCloseRequest(window)) {
                *result = 0;
                return true;
            }
            return false;
        default:
            return false;
    }
}

}  // namespace

void LaunchButton(int32_t index) {
    const Button& button = menu.buttons[index];
    const std::vector<LaunchRequest> launches = ButtonLaunches(index);
    if (launches.empty() && !button.exitAfter) return;
    platform::Wait(kLaunchPause);
    for (const LaunchRequest& launch : launches) LaunchProgram(launch.program, launch.arguments);
    if (button.exitAfter) platform::PostQuitRequest();
}

intptr_t MenuWindowProc(platform::Window window, uint32_t message, uintptr_t first, intptr_t second) {
    // Nothing may unwind through the window system: a failure inside a
    // handler leaves the message to the default processing.
    try {
        intptr_t result = 0;
        if (Handle(window, message, first, second, &result)) return result;
    } catch (...) {
    }
    return platform::DefaultWindowProcedure(window, message, first, second);
}
