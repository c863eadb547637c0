#include "check/findings.h"

#include <algorithm>
#include <tuple>

std::string FormatFinding(const Finding& finding) {
    std::string text = "install.ini";
    if (finding.line > 0) text += ":" + std::to_string(finding.line);
    text += finding.severity == Severity::kError     ? ": error: "
            : finding.severity == Severity::kWarning ? ": warning: "
                                                     : ": note: ";
    text += finding.message;
    if (!finding.hint.empty()) text += " (" + finding.hint + ")";
    return text;
}

std::vector<Finding> SortedFindings(std::vector<Finding> findings) {
    auto key = [](const Finding& f) { return std::tie(f.line, f.severity, f.message, f.hint); };
    std::stable_sort(findings.begin(), findings.end(),
                     [&](const Finding& a, const Finding& b) { return key(a) < key(b); });
    findings.erase(std::unique(findings.begin(), findings.end(),
                               [&](const Finding& a, const Finding& b) { return key(a) == key(b); }),
                   findings.end());
    return findings;
}

int ExitStatusOf(const std::vector<Finding>& findings) {
    int status = kExitClean;
    for (const Finding& f : findings) {
        if (f.severity == Severity::kError) status = kExitErrors;
        if (f.severity == Severity::kWarning) status = std::max(status, kExitWarnings);
    }
    return status;
}
