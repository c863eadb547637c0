#pragma once
// What tessaline-check reports: one line per finding, in the style of a
// compiler ("install.ini:12: warning: ..."), and the exit status they give.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

constexpr const char* kIniFileName = "install.ini";

// A note tells what the disc does without anything being wrong; it leaves
// the exit status clean.
enum class Severity { kWarning, kError, kNote };

struct Finding {
    int32_t line;  // in `file`, from 1; 0 when no line applies
    Severity severity;
    std::string message;
    std::string hint;  // empty when none helps
    // The file the line is in, or the disc's file or folder the finding is about.
    std::string file = kIniFileName;
};

// "FILE:LINE: error: MESSAGE (HINT)"; without ":LINE" when the line is 0.
std::string FormatFinding(const Finding& finding);

// install.ini's findings first, then each other file's by its name; each
// file's by line; each distinct finding once.
std::vector<Finding> SortedFindings(std::vector<Finding> findings);

// 0 when there is nothing but notes to report, 1 with warnings, 2 with errors.
int ExitStatusOf(const std::vector<Finding>& findings);

constexpr int kExitClean = 0;
constexpr int kExitWarnings = 1;
constexpr int kExitErrors = 2;
