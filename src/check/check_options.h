#pragma once
// The command line of tessaline-check.

#include <cstdint>
#include <string>
#include <vector>

#include "check/disc_check.h"

struct CheckOptions {
    enum class Mode { kCheck, kDryRun, kToUtf16, kHelp };
    Mode mode = Mode::kCheck;
    std::string discFolder;
    CheckSettings check;   // its system is also the dry run's
    std::string picture;   // --picture: where the dry run draws its screen
    std::string in;        // --to-utf16
    std::string out;
    uint32_t codePage = 0;  // of an ANSI file to convert; 0: the system's
};

extern const char* const kCheckUsage;

// False, with the reason in `error`, for a command line that makes no sense.
bool ParseCheckOptions(const std::vector<std::string>& arguments, CheckOptions* options, std::string* error);
