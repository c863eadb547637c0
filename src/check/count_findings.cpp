#include "check/count_findings.h"

#include <string>

#include "check/ini_text.h"
#include "config/ini_reader.h"
#include "config/menu_model.h"

void CheckCounts(CheckContext& check) {
    check.buttonCount = iniReader.GetInt(kGeneral, u"ButtonCount", 0);
    const int32_t buttonLine = iniReader.KeyLine(kGeneral, u"ButtonCount");
    if (check.buttonCount < 2) {
        check.Error(LineOr(buttonLine, LineOr(check.generalLine, 1)),
                    (buttonLine != 0 ? "ButtonCount is " + Narrow(IniValue(kGeneral, u"ButtonCount"))
                                     : std::string("ButtonCount is missing")) +
                        ": the menu needs at least 2 buttons and stops with \"Couldn't read ini file at ...\"",
                    "set ButtonCount in [General] to the number of [Button<n>-<language>] sections");
    } else if (check.buttonCount > kMaxButtons) {
        check.Warning(buttonLine, "ButtonCount is " + std::to_string(check.buttonCount) +
                                      ": the menu shows only the first " + std::to_string(kMaxButtons) + " buttons");
    }
    check.languageCount = iniReader.GetInt(kGeneral, u"LanguageCount", 0);
    if (check.languageCount > kMaxLanguages) {
        check.Warning(iniReader.KeyLine(kGeneral, u"LanguageCount"),
                      "LanguageCount is " + std::to_string(check.languageCount) + ": the menu offers only the first " +
                          std::to_string(kMaxLanguages) + " languages");
    }
}
