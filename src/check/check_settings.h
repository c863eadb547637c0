#pragma once
// What a check assumes of the customer's system and screens.

#include <vector>

#include "check/offline_menu.h"
#include "platform/types.h"

struct CheckSettings {
    // The system the launch conditions, the user's language and the program
    // folder are taken from.
    SystemChoice system;
    // Help texts are checked against the ANSI code page of this system's
    // language when true, else each language's against its own system's.
    bool languageGiven = false;
    // The screens the menu may meet; a picture that must shrink on any of
    // them must be one the menu can shrink.
    std::vector<Size> screens{{800, 600}, {3840, 2160}};
};
