#pragma once
// The check of a disc folder: install.ini read exactly as the menu reads it,
// the menu's start-up and loader run over it for every offered language, and
// every mistake found reported with the line it is on.

#include <filesystem>
#include <vector>

#include "check/check_settings.h"
#include "check/findings.h"

std::vector<Finding> CheckDisc(const std::filesystem::path& discFolder, const CheckSettings& settings);
