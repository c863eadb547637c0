#include "check/check_context.h"

#include <algorithm>

#include "check/ini_text.h"

bool ReadSection::Reads(const std::u16string& key) const {
    const std::u16string folded = Fold(key);
    return std::any_of(keys.begin(), keys.end(), [&](const std::u16string& k) { return Fold(k) == folded; });
}

void CheckContext::Error(int32_t line, const std::string& message, const std::string& hint) {
    Report(Severity::kError, kIniFileName, line, message, hint);
}

void CheckContext::Warning(int32_t line, const std::string& message, const std::string& hint) {
    Report(Severity::kWarning, kIniFileName, line, message, hint);
}

void CheckContext::Note(int32_t line, const std::string& message, const std::string& hint) {
    Report(Severity::kNote, kIniFileName, line, message, hint);
}

void CheckContext::Report(Severity severity, const std::string& file, int32_t line, const std::string& message,
                          const std::string& hint) {
    findings.push_back(Finding{line, severity, message, hint, file});
}

LanguageSystem CheckContext::SystemFor(uint16_t language) const {
    return LanguageSystemOf(settings.languageGiven ? settings.system.userLanguageId : language);
}
