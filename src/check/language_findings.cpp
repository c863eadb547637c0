#include "check/language_findings.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "check/ini_text.h"
#include "config/formatted_input.h"
#include "config/ini_reader.h"
#include "config/language_tag.h"
#include "config/menu_model.h"

void CheckLanguages(CheckContext& check) {
    const int32_t buttons = std::clamp(check.buttonCount, 0, kMaxButtons);
    const int32_t languages = std::clamp(check.languageCount, 0, kMaxLanguages);
    const int32_t countLine = LineOr(iniReader.KeyLine(kGeneral, u"LanguageCount"), check.generalLine);
    if (languages == 0) {
        const int32_t buttonLine = iniReader.KeyLine(kGeneral, u"ButtonCount");
        for (int32_t n = 1; n <= buttons; ++n) {
            const std::u16string section = ButtonSection(n, u"");
            if (iniReader.SectionHeaderLine(section.c_str()) == 0) {
                check.Warning(buttonLine, "there is no [" + Narrow(section) + "] section",
                              "without LanguageCount the buttons are read from [Button1-], [Button2-] and so on");
            }
        }
        return;
    }
    for (int32_t n = 1; n <= languages; ++n) {
        const std::u16string key = u"language" + Widen(std::to_string(n));
        const int32_t line = iniReader.KeyLine(u"Languages", key.c_str());
        const std::u16string value = IniValue(u"Languages", key);
        int32_t identifier = 0;
        int32_t ignored = 0;
        int32_t* const targets[] = {&identifier, &ignored};
        if (ScanIntegers(value.c_str(), "%i,%d", targets, 2) == 0) {
            check.Warning(LineOr(line, countLine),
                          line == 0 ? Narrow(key) + " is missing from [Languages]"
                                    : Narrow(key) + "=" + Narrow(value) + " holds no language identifier",
                          "the language reads as 0x00; write its identifier, such as 0x09 for English");
            continue;
        }
        if (static_cast<uint32_t>(identifier) > 0x3FF) {
            char tag[16];
            std::snprintf(tag, sizeof tag, "0x%2.2X", static_cast<unsigned>(identifier) & 0x3FFu);
            check.Warning(line,
                          Narrow(key) + "=" + Narrow(value) +
                              " is more than a primary language: the menu never takes it for the user's language",
                          std::string("write the primary language alone, ") + tag);
        }
        char16_t tag[kLanguageTagCapacity];
        FormatLanguageTag(static_cast<uint32_t>(identifier), tag, kLanguageTagCapacity);
        const std::string tagText = Narrow(tag);
        auto expect = [&](const std::u16string& section, const std::string& withoutIt) {
            if (iniReader.SectionHeaderLine(section.c_str()) == 0) {
                check.Warning(line, "language " + tagText + " has no [" + Narrow(section) + "] section", withoutIt);
            }
        };
        expect(u"Prompt-" + std::u16string(tag), "its texts, fonts and colours fall back to General's and the defaults");
        expect(u"Copyright-" + std::u16string(tag), "its copyright line shows the built-in notice");
        // Missing button sections in runs, one warning for each run.
        for (int32_t b = 1; b <= buttons; ++b) {
            if (iniReader.SectionHeaderLine(ButtonSection(b, tag).c_str()) != 0) continue;
            int32_t last = b;
            while (last < buttons && iniReader.SectionHeaderLine(ButtonSection(last + 1, tag).c_str()) == 0) ++last;
            const std::string first = "[" + Narrow(ButtonSection(b, tag)) + "]";
            check.Warning(line,
                          "language " + tagText + " has no " +
                              (last == b ? first + " section"
                                         : "sections " + first + " to [" + Narrow(ButtonSection(last, tag)) + "]"),
                          last == b ? "the button has no name and starts nothing in this language"
                                    : "these buttons have no names and start nothing in this language");
            b = last;
        }
        if (languages > 1) expect(u"LangCombo-" + std::u16string(tag), "its language list shows empty names");
    }
}
