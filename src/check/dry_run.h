#pragma once
// The dry run: what the menu would do on a chosen system, from its start-up
// to what each button's click starts and what -s starts.

#include <filesystem>
#include <ostream>

#include "check/offline_menu.h"

// Prints the run and, when `picture` names a file, draws the screen into it;
// returns 0 when the menu opens, 2 when it stops at start-up or the picture
// cannot be written.
int DryRun(const std::filesystem::path& discFolder, const SystemChoice& system, std::ostream& out,
           const std::filesystem::path& picture = {});

// Why a click on button `index` of the loaded menu does or does not start
// its preparatory program: "yes (...)" or "no (...)".
std::string PreparatoryVerdict(int32_t index);
