#include "check/button_findings.h"

#include <algorithm>

#include "check/condition_findings.h"
#include "check/ini_text.h"
#include "check/launch_findings.h"
#include "config/ini_reader.h"
#include "config/menu_model.h"

namespace {

void CheckProgram(CheckContext& check, const std::u16string& section, const char* programKey,
                  const char* argumentsKey, const char16_t* program, const char16_t* arguments, uint16_t language) {
    const LaunchKeys launch{programKey,
                            argumentsKey,
                            program,
                            arguments,
                            iniReader.KeyLine(section.c_str(), Widen(programKey).c_str()),
                            iniReader.KeyLine(section.c_str(), Widen(argumentsKey).c_str())};
    CheckLaunch(launch, check.disc, check.settings.system.programFolder, check.SystemFor(language), &check.findings);
    if (PlaceOfProgram(Narrow(program)) == ProgramPlace::kDisc) {
        check.needs.push_back(DiscNeed{program, std::string(programKey) + " ", kIniFileName, launch.programLine});
    }
}

void CheckExit(CheckContext& check, const std::u16string& section) {
    const int32_t line = iniReader.KeyLine(section.c_str(), u"Exit");
    if (line == 0) return;
    const std::u16string value = IniValue(section, u"Exit");
    const std::u16string folded = Fold(value);
    if (folded == u"true" || folded == u"false") return;
    const bool ends = !value.empty() && (value[0] == u't' || value[0] == u'T');
    check.Warning(line,
                  "Exit=" + Narrow(value) + " is neither true nor false: the menu reads it as " +
                      (ends ? "true and ends after the button" : "false and stays open"),
                  "only a value that begins with t or T ends the menu");
}

// A button that neither starts a program nor ends the menu, and one without
// a help text. A missing section is reported with the languages.
void CheckUse(CheckContext& check, const std::u16string& section, const Button& button, int32_t index) {
    const int32_t header = iniReader.SectionHeaderLine(section.c_str());
    if (header == 0) return;
    const std::string name = "button " + std::to_string(index + 1) + " (" + Narrow(button.name) + ")";
    if (button.path[0] == 0 && button.args[0] == 0 && !button.exitAfter) {
        check.Warning(header, name + " does nothing when clicked: it has no Path and no Exit=true",
                      "name the program it starts in Path, or set Exit=true");
    }
    if (button.help[0] == 0) {
        check.Note(header, name + " has no Help: the help area keeps the default text, and screen readers say its "
                                  "name alone");
    }
}

}  // namespace

void CheckButtons(CheckContext& check, const std::u16string& tag, uint16_t language, bool unattended) {
    const int32_t count = std::min(menu.buttonCount, kMaxButtons);
    for (int32_t i = 0; i < count; ++i) {
        const std::u16string section = ButtonSection(i + 1, tag);
        const Button& button = menu.buttons[i];
        if (unattended) {
            CheckProgram(check, section, "SilentPath", "SilentArgs", button.path, button.args, language);
            continue;
        }
        CheckProgram(check, section, "PreRun", "PreArgs", button.preRun, button.preArgs, language);
        CheckProgram(check, section, "Path", "Args", button.path, button.args, language);
        CheckExit(check, section);
        CheckCondition(check, section, button);
        CheckUse(check, section, button, i);
    }
}
