#include "launch/button_launches.h"

#include "config/menu_model.h"
#include "launch/launch_conditions.h"

std::vector<LaunchRequest> ButtonLaunches(int32_t index) {
    std::vector<LaunchRequest> launches;
    if (index < 0 || index >= kMaxButtons) return launches;
    const Button& button = menu.buttons[index];
    if (button.path[0] == 0 && button.args[0] == 0) return launches;
    if (PreRunAllowed(index)) launches.push_back({button.preRun, button.preArgs});
    launches.push_back({button.path, button.args});
    return launches;
}
