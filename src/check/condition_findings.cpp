#include "check/condition_findings.h"

#include <cstring>
#include <string>
#include <utility>

#include "check/ini_text.h"
#include "config/ini_reader.h"
#include "config/wide_text.h"
#include "launch/launch_conditions.h"
#include "platform/text.h"

namespace {

// The versions the menu's classification forms, major x 100 + minor, at
// either end: Windows NT 3.1, and Windows 10 and 11.
constexpr int32_t kOldestVersion = 301;
constexpr int32_t kNewestVersion = 1000;

// A version field of a launch condition, read as the menu reads it: how many
// leading characters the number takes (0: none, so it reads as 0).
size_t NumberLength(const std::string& field) {
    size_t at = 0;
    while (at < field.size() && std::strchr(" \t\n\v\f\r", field[at]) != nullptr) ++at;
    if (at < field.size() && (field[at] == '+' || field[at] == '-')) ++at;
    const size_t digits = at;
    while (at < field.size() && field[at] >= '0' && field[at] <= '9') ++at;
    return at == digits ? 0 : at;
}

// Restricts: blocks on some system, whatever the version range says.
bool WordRestricts(const char* word) {
    for (int32_t kind : {kOsUnknown, kOs9x, kOsPersonal, kOsProfessional, kOsServer}) {
        if (ConditionBlocks(kind, 0, word, "", "")) return true;
    }
    return false;
}

// The table word that `word` spells in other letter case, where case
// counts; null for any other word.
const char* WordInOtherCase(const char* word) {
    for (const char* tableWord : {"nt", "pers", "pro", "srv"}) {
        if (EqualsFoldingAZ(word, tableWord) && std::strcmp(word, tableWord) != 0) return tableWord;
    }
    return nullptr;
}

}  // namespace

void CheckCondition(CheckContext& check, const std::u16string& section, const Button& button) {
    const int32_t line = iniReader.KeyLine(section.c_str(), u"PreCond");
    if (line == 0 || button.preCond[0] == 0) return;
    if (button.preRun[0] == 0 && button.preArgs[0] == 0) {
        check.Warning(line, "PreCond is never used: the button has no PreRun");
        return;
    }
    char narrow[kNarrowCapacity];
    ConditionFields fields;
    SplitCondition(ToNarrow(narrow, button.preCond), &fields);
    const std::string word = fields.osWord;
    const char* const meant = WordInOtherCase(fields.osWord);
    if (meant != nullptr) {
        check.Warning(line,
                      "PreCond word \"" + word + "\" is not \"" + meant +
                          "\": the menu takes nt, pers, pro and srv in lower case only, so this condition restricts "
                          "nothing",
                      std::string("write ") + meant);
    } else if (!word.empty() && !WordRestricts(fields.osWord) && !EqualsFoldingAZ(fields.osWord, "all")) {
        check.Warning(line, "PreCond word \"" + word + "\" is not one the menu knows: it restricts no system",
                      "the words are all, 9x, nt, pers, pro and srv, written without blanks");
    }
    for (const auto& field : {std::make_pair("minimum", std::string(fields.minimum)),
                              std::make_pair("maximum", std::string(fields.maximum))}) {
        const std::string& text = field.second;
        if (text.empty()) continue;
        const size_t length = NumberLength(text);
        const std::string hint = "write a version as major x 100 + minor, such as 501 for 5.1";
        if (length == 0) {
            check.Warning(line, std::string("PreCond ") + field.first + " \"" + text + "\" reads as 0", hint);
        } else if (text.find_first_not_of(" \t", length) != std::string::npos) {
            check.Warning(line,
                          std::string("PreCond ") + field.first + " \"" + text + "\" is read only partly, as " +
                              std::to_string(ReadConditionInteger(text.c_str())),
                          hint);
        }
    }
    // No Windows reports a version outside these: a bound beyond them
    // leaves the preparatory program never to run.
    const int32_t minimum = ReadConditionInteger(fields.minimum);
    const int32_t maximum = ReadConditionInteger(fields.maximum);
    if (minimum > kNewestVersion) {
        check.Warning(line,
                      "PreCond minimum " + std::to_string(minimum) +
                          " is above every version Windows reports (Windows 10 and 11 report " +
                          std::to_string(kNewestVersion) + "): the preparatory program never runs",
                      "write a version as major x 100 + minor, such as 1000 for Windows 10 and 11");
    } else if (maximum != 0 && maximum < kOldestVersion) {
        check.Warning(line,
                      "PreCond maximum " + std::to_string(maximum) + " is below every version Windows reports (" +
                          std::to_string(kOldestVersion) + " for Windows NT 3.1): the preparatory program never runs",
                      "a maximum of 0 sets no upper bound");
    }
}
