#include "check/help_text_findings.h"

#include <algorithm>

#include "check/code_pages.h"
#include "check/ini_text.h"
#include "config/ini_reader.h"
#include "config/menu_model.h"
#include "platform/code_page.h"

void CheckHelpTexts(CheckContext& check, const std::u16string& tag, uint16_t language) {
    const LanguageSystem system = check.SystemFor(language);
    if (system.codePage == 0) return;
    auto shown = [&](const std::u16string& text, int32_t line) {
        if (line == 0 || platform::FitInCodePage(system.codePage, text) != platform::CodePageFit::kLacksCharacters) {
            return;
        }
        check.Warning(line,
                      "the help text has characters that the ANSI code page " + std::to_string(system.codePage) +
                          " of a " + system.tag + " system cannot show (" +
                          CharactersLacking(system.codePage, text, 3) + "): they appear as ?",
                      "help texts are drawn in the system's ANSI code page");
    };
    shown(menu.defaultHelp, iniReader.KeyLine((u"Prompt-" + tag).c_str(), u"DefHelp"));
    const int32_t count = std::min(menu.buttonCount, kMaxButtons);
    for (int32_t i = 0; i < count; ++i) {
        shown(menu.buttons[i].help, iniReader.KeyLine(ButtonSection(i + 1, tag).c_str(), u"Help"));
    }
}
