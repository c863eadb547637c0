#pragma once
// The check of a disc folder: install.ini read exactly as the menu reads it,
// the menu's start-up and loader run over it for every offered language, and
// every mistake found reported with the line it is on.

#include <filesystem>
#include <vector>

#include "check/findings.h"
#include "check/offline_menu.h"

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

std::vector<Finding> CheckDisc(const std::filesystem::path& discFolder, const CheckSettings& settings);
