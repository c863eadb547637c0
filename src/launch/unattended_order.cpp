#include "config/menu_model.h"
#include "launch/launch_conditions.h"
#include "launch/unattended.h"

std::vector<LaunchRequest> UnattendedLaunches() {
    const int32_t count = menu.buttonCount < kMaxButtons ? menu.buttonCount : kMaxButtons;
    std::vector<LaunchRequest> launches;
    for (int32_t i = 0; i < count; ++i) {
        if (PreRunAllowed(i)) launches.push_back({menu.buttons[i].preRun, menu.buttons[i].preArgs});
    }
    // In this mode path and args hold the silent keys; a button with neither
    // starts nothing of its own.
    for (int32_t i = 0; i < count; ++i) {
        const Button& button = menu.buttons[i];
        if (button.path[0] != 0 || button.args[0] != 0) launches.push_back({button.path, button.args});
    }
    return launches;
}
