#include "check/section_findings.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "check/ini_text.h"
#include "config/ini_reader.h"
#include "config/wide_text.h"

namespace {

// The first line that begins with the header of `name`, after line `after`.
int32_t HeaderLineAfter(const std::u16string& name, int32_t after) {
    const std::u16string header = Fold(u"[" + name + u"]");
    for (const UnicodeIniReader::Line& line : iniReader.Lines()) {
        if (line.number > after &&
            Fold(std::u16string(line.text, line.length)).compare(0, header.size(), header) == 0) {
            return line.number;
        }
    }
    return 0;
}

std::string UnreadSectionHint(const CheckContext& check, const std::u16string& name) {
    const std::u16string folded = Fold(name);
    const size_t dash = name.rfind(u'-');
    if (folded.compare(0, 6, u"button") == 0 && dash != std::u16string::npos) {
        const int32_t number = WideToInt(name.substr(6, dash - 6).c_str());
        if (number > check.buttonCount) return "ButtonCount is " + std::to_string(check.buttonCount);
    }
    if (dash != std::u16string::npos) {
        const std::u16string tag = Fold(name.substr(dash + 1));
        bool offered = tag.empty() && check.languageCount <= 0;
        for (const auto& entry : check.readSections) {
            const size_t d = entry.first.rfind(u'-');
            offered = offered || (d != std::u16string::npos && entry.first.substr(d + 1) == tag);
        }
        if (!offered) return "the language " + Narrow(name.substr(dash + 1)) + " is not offered in [Languages]";
    }
    std::vector<std::u16string> names;
    for (const auto& entry : check.readSections) names.push_back(entry.second.name);
    return names.empty() ? "" : "nearest section the menu reads: [" + Narrow(Nearest(name, names)) + "]";
}

void CheckKeys(CheckContext& check, const ReadSection& section, const std::string& header) {
    std::map<std::u16string, int32_t> seen;
    for (const UnicodeIniReader::Line& line : iniReader.SectionLines(section.name.c_str())) {
        const std::u16string text(line.text, line.length);
        if (text[0] == u';' || text[0] == u'#') continue;
        const size_t equals = text.find(u'=');
        if (equals == std::u16string::npos) {
            // Free text is left alone; a key without its "=" is a mistake.
            const std::u16string word = text.substr(0, text.find_first_of(u" \t:"));
            if (section.Reads(word)) {
                check.Warning(line.number,
                              Narrow(word) + " in " + header + " has no \"=\": the menu never reads this line",
                              "write " + Narrow(word) + "=value");
            }
            continue;
        }
        const std::u16string key = TrimRight(text.substr(0, equals));
        if (key.empty()) continue;
        if (IsBlank(key[0])) {
            const std::u16string trimmed = key.substr(key.find_first_not_of(u" \t"));
            check.Warning(line.number,
                          "the key " + Narrow(trimmed) +
                              " stands after blanks: the menu finds a key only at the start of its line",
                          "remove the blanks before the key");
            continue;
        }
        const std::u16string folded = Fold(key);
        if (!section.Reads(key)) {
            check.Warning(line.number, Narrow(key) + " in " + header + " is never read",
                          "nearest key the menu reads there: " + Narrow(Nearest(key, section.keys)));
            continue;
        }
        const auto first = seen.find(folded);
        if (first != seen.end()) {
            check.Warning(line.number, Narrow(key) + " appears again in " + header +
                                           ": the menu reads the first, on line " + std::to_string(first->second));
        } else {
            seen[folded] = line.number;
        }
    }
}

}  // namespace

void CheckSections(CheckContext& check) {
    std::set<std::u16string> wronglyHeaded;
    for (const auto& entry : check.readSections) {
        const ReadSection& section = entry.second;
        size_t column = 0;
        const int32_t headerLine = iniReader.SectionHeaderLine(section.name.c_str(), &column);
        if (headerLine == 0) continue;
        const std::string header = "[" + Narrow(section.name) + "]";
        if (column > 0) {
            wronglyHeaded.insert(entry.first);
            const int32_t real = HeaderLineAfter(section.name, headerLine);
            check.Warning(headerLine,
                          "the text " + header +
                              " inside this line is taken for the section's header, so the section is read from "
                              "the next line on",
                          real != 0 ? "the header on line " + std::to_string(real) + " is never reached"
                                    : "write the header at the start of its own line");
        }
        CheckKeys(check, section, header);
    }

    // Headers at the start of a line that no lookup takes.
    for (const UnicodeIniReader::Line& line : iniReader.Lines()) {
        const std::u16string text(line.text, line.length);
        const size_t close = text.find(u']');
        if (text.empty() || text[0] != u'[' || close == std::u16string::npos) continue;
        const std::u16string name = text.substr(1, close - 1);
        const auto read = check.readSections.find(Fold(name));
        if (read == check.readSections.end()) {
            check.Warning(line.number, "the section [" + Narrow(name) + "] is never read",
                          UnreadSectionHint(check, name));
        } else if (wronglyHeaded.count(read->first) == 0) {
            const int32_t first = iniReader.SectionHeaderLine(name.c_str());
            if (first != line.number) {
                check.Warning(line.number, "[" + Narrow(name) + "] appears again: the menu reads only the section on "
                                                                "line " +
                                               std::to_string(first));
            }
        }
    }
}
