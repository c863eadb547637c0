#pragma once

// Sets osKind and osVersion in the menu model from the running system.
void ClassifyOperatingSystem();
