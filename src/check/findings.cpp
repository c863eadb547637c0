#include "check/findings.h"

#include <algorithm>
#include <tuple>

namespace {

const char* SeverityWord(Severity severity) {
    switch (severity) {
        case Severity::kError:
            return ": error: ";
        case Severity::kWarning:
            return ": warning: ";
        case Severity::kNote:
            break;
    }
    return ": note: ";
}

}  // namespace

std::string FormatFinding(const Finding& finding) {
    std::string text = finding.file;
    if (finding.line > 0) text += ":" + std::to_string(finding.line);
    text += SeverityWord(finding.severity);
    text += finding.message;
    if (!finding.hint.empty()) text += " (" + finding.hint + ")";
    return text;
}

std::vector<Finding> SortedFindings(std::vector<Finding> findings) {
    using Key = std::tuple<bool, const std::string&, int32_t, Severity, const std::string&, const std::string&>;
    auto key = [](const Finding& f) {
        return Key(f.file != kIniFileName, f.file, f.line, f.severity, f.message, f.hint);
    };
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
