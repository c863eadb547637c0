#pragma once
// What tessaline-check reports: one line per finding, in the style of a
// compiler ("install.ini:12: warning: ..."), and the exit status they give.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// A note tells the author what the menu will do where nothing is wrong; it
// leaves the exit status clean.
enum class Severity { kNote, kWarning, kError };

struct Finding {
    int32_t line;  // in install.ini, from 1; 0 when no line applies
    Severity severity;
    std::string message;
    std::string hint;  // empty when none helps
};

// "install.ini:LINE: error: MESSAGE (HINT)" (or warning, note); without
// ":LINE" when the line is 0.
std::string FormatFinding(const Finding& finding);

// Sorted by line, each distinct finding once.
std::vector<Finding> SortedFindings(std::vector<Finding> findings);

// 0 when there is nothing to report but notes, 1 with warnings, 2 with errors.
int ExitStatusOf(const std::vector<Finding>& findings);

constexpr int kExitClean = 0;
constexpr int kExitWarnings = 1;
constexpr int kExitErrors = 2;
