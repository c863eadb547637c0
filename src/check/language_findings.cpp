#include "check/language_findings.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "check/ini_text.h"
#include "config/ini_reader.h"
#include "config/language_tag.h"
#include "config/menu_model.h"

namespace {

// Languages that Windows 2000 and XP support only once their East Asian or
// complex-script files are installed, which a default set-up leaves out: a
// system without them has no locale of the language, and the menu refuses it.
const struct {
    uint32_t language;
    const char* name;
    const char* support;
} kOftenMissing[] = {
    {0x04, "Chinese", "East Asian"},  {0x11, "Japanese", "East Asian"},   {0x12, "Korean", "East Asian"},
    {0x01, "Arabic", "complex-script"}, {0x0D, "Hebrew", "complex-script"}, {0x1E, "Thai", "complex-script"},
    {0x20, "Urdu", "complex-script"},  {0x29, "Farsi", "complex-script"},  {0x2A, "Vietnamese", "complex-script"},
    {0x2B, "Armenian", "complex-script"}, {0x37, "Georgian", "complex-script"}, {0x39, "Hindi", "complex-script"},
    {0x45, "Bengali", "complex-script"}, {0x46, "Punjabi", "complex-script"}, {0x47, "Gujarati", "complex-script"},
    {0x49, "Tamil", "complex-script"},  {0x4A, "Telugu", "complex-script"}, {0x4B, "Kannada", "complex-script"},
    {0x4E, "Marathi", "complex-script"}, {0x5A, "Syriac", "complex-script"}, {0x65, "Divehi", "complex-script"},
};

// What a user whose language is not offered gets: the first listed language.
void CheckFallback(CheckContext& check, int32_t languages) {
    const int32_t line = iniReader.KeyLine(u"Languages", u"language1");
    int32_t identifier = 0;
    if (line == 0 || !LanguageEntry(1, &identifier)) return;
    char tag[16];
    std::snprintf(tag, sizeof tag, "0x%2.2X", static_cast<unsigned>(identifier) & 0x3FFu);
    // With several languages the first one is the fallback of every user
    // the disc does not speak to, and a risk when systems often lack it;
    // with one, it is the disc's own language, for the systems it is made for.
    const std::string who = languages > 1 ? "a user whose language is not offered gets " : "every user gets ";
    for (const auto& missing : kOftenMissing) {
        if (missing.language != (static_cast<uint32_t>(identifier) & 0x3FFu)) continue;
        const std::string message = who + missing.name + " (" + tag + "), the first listed, and on a system without " +
                                    missing.support + " support (Windows 2000 and XP as set up by default) the menu "
                                    "stops with \"Unsupported Language\"";
        if (languages > 1) {
            check.Warning(line, message, "list first a language that every system has, such as English (0x09)");
        } else {
            check.Note(line, message);
        }
        return;
    }
    if (languages > 1) check.Note(line, who + "language " + tag + ", the first listed");
}

}  // namespace

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
        if (!LanguageEntry(n, &identifier)) {
            check.Warning(LineOr(line, countLine),
                          line == 0 ? Narrow(key) + " is missing from [Languages]"
                                    : Narrow(key) + "=" + Narrow(value) + " holds no language identifier",
                          "the language reads as 0x00; write its identifier, such as 0x09 for English");
            continue;
        }
        const std::string octal = OctalReading(value);
        if (!octal.empty()) {
            char read[16];
            std::snprintf(read, sizeof read, "0x%2.2X", static_cast<unsigned>(identifier));
            check.Warning(line,
                          Narrow(key) + "=" + Narrow(value) + " is read as an octal number: " + octal +
                              ", so the language is " + read,
                          "a leading 0 makes a number octal; write the identifier in hexadecimal, such as 0x09");
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
    CheckFallback(check, languages);
}
