#include "launch/os_classification.h"

#include "config/menu_model.h"

// Until the classification is built, the system counts as unknown: kind 0,
// version 0.
void ClassifyOperatingSystem() {
    menu.osKind = 0;
    menu.osVersion = 0;
}
