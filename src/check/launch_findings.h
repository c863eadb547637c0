#pragma once
// The findings on one program a button starts (its Path, PreRun or
// SilentPath with their arguments): a program the disc lacks, or one the
// launcher can never start.

#include <cstdint>
#include <string>
#include <vector>

#include "check/code_pages.h"
#include "check/disc_files.h"
#include "check/findings.h"

// One program key of a button's section and its arguments key, with the
// texts the loader read from them and the lines they are on (0: missing).
struct LaunchKeys {
    const char* programKey;  // "Path", "PreRun" or "SilentPath"
    const char* argumentsKey;
    const char16_t* program;
    const char16_t* arguments;
    int32_t programLine;
    int32_t argumentsLine;
};

// The texts are measured as the launcher measures them on `system`: in
// bytes of its ANSI code page (of the running system's when it is unknown).
void CheckLaunch(const LaunchKeys& launch, const DiscFolder& disc, const std::string& programFolder,
                 const LanguageSystem& system, std::vector<Finding>* findings);
