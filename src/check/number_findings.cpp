#include "check/number_findings.h"

#include <cstdint>
#include <string>

#include "check/ini_text.h"
#include "config/formatted_input.h"
#include "config/ini_reader.h"
#include "config/wide_text.h"

namespace {

// How a number-holding value is read.
struct NumberFormat {
    const char16_t* key;
    const char* pattern;
    int numbers;
    const char* names;
    const char* whenShort;  // what happens to the numbers not read
};

const NumberFormat kNumberFormats[] = {
    {u"AppSize", "%d,%d", 2, "width, height", "a size without its height counts as missing"},
    {u"BitmapRect", "%d,%d,%d,%d", 4, "left, top, right, bottom", "the edges not read are 0"},
    {u"ButtonPaneRect", "%d,%d,%d,%d", 4, "left, top, right, bottom", "the edges not read are 0"},
    {u"HelpRect", "%d,%d,%d,%d", 4, "left, top, right, bottom", "the edges not read keep their values"},
    {u"BtnRect", "%d,%d,%d,%d", 4, "left, top, right, bottom", "the edges not read are 0"},
    {u"Edge", "%d,%d,%d", 3, "red, green, blue", "the channels not read keep their values"},
    {u"BackColor", "%d,%d,%d", 3, "red, green, blue", "the channels not read keep their values"},
    {u"ButtonPaneColor", "%d,%d,%d", 3, "red, green, blue", "the channels not read keep their values"},
    {u"BtnColorBk", "%d,%d,%d", 3, "red, green, blue", "the channels not read keep their values"},
    {u"BtnColorHi", "%d,%d,%d", 3, "red, green, blue", "the channels not read keep their values"},
    {u"BtnColorLo", "%d,%d,%d", 3, "red, green, blue", "the channels not read keep their values"},
    {u"HelpColor", "%d,%d,%d", 3, "red, green, blue", "the channels not read keep their values"},
    {u"BulletColorHi", "%d,%d,%d", 3, "red, green, blue", "the channels not read keep their values"},
    {u"BulletColorLo", "%d,%d,%d", 3, "red, green, blue", "the channels not read keep their values"},
    {u"Color", "%d,%d,%d,%d,%d,%d", 6, "red, green, blue, then the same for displays of 256 colours or fewer",
     "the channels not read keep their values"},
    {u"Font", "%d,%d,%d,%d", 4, "height, weight, italic, underline", "the numbers not read are 0"},
    {u"BtnFont", "%d,%d,%d,%d", 4, "height, weight, italic, underline", "the numbers not read are 0"},
    {u"HelpFont", "%d,%d,%d,%d", 4, "height, weight, italic, underline", "the numbers not read are 0"},
    {u"Position", "%i,%i", 2, "x, y", "the numbers not read keep their values"},
};

bool IsFontKey(const std::u16string& key) {
    const std::u16string folded = Fold(key);
    return folded == u"font" || folded == u"btnfont" || folded == u"helpfont";
}

// A whole integer: blanks, an optional sign, digits, blanks.
bool IsWholeInteger(const std::u16string& value) {
    size_t at = 0;
    while (at < value.size() && IsBlank(value[at])) ++at;
    if (at < value.size() && (value[at] == u'+' || value[at] == u'-')) ++at;
    const size_t digits = at;
    while (at < value.size() && value[at] >= u'0' && value[at] <= u'9') ++at;
    if (at == digits) return false;
    while (at < value.size() && IsBlank(value[at])) ++at;
    return at == value.size();
}

// The system keeps 31 bytes of a face name: a longer one names no face it
// has, and the text falls back to the default face.
constexpr size_t kFaceNameBytes = 31;

void CheckFaceName(CheckContext& check, const std::u16string& value, int32_t line) {
    // The face follows the last comma, after any blanks, as the loader reads it.
    size_t start = value.rfind(u',') + 1;
    while (start < value.size() && IsBlank(value[start])) ++start;
    const std::string narrow = Narrow(value.substr(start));
    if (narrow.size() <= kFaceNameBytes) return;
    check.Warning(line,
                  "the face name \"" + narrow + "\" is " + std::to_string(narrow.size()) +
                      " bytes long: the system takes at most 31, finds no face of that name and draws the text in "
                      "the default face",
                  "name the font's family as the system lists it");
}

void CheckValue(CheckContext& check, const std::u16string& key, const std::u16string& value, int32_t line) {
    const std::string shown = Narrow(key) + "=" + Narrow(value);
    const std::u16string folded = Fold(key);
    if (folded == u"buttoncount" || folded == u"languagecount") {
        if (!IsWholeInteger(value)) {
            check.Warning(line, shown + " is read only partly, as " + std::to_string(WideToInt(value.c_str())),
                          "write the number alone");
        }
        return;
    }
    for (const NumberFormat& format : kNumberFormats) {
        if (Fold(format.key) != folded) continue;
        int32_t numbers[6] = {};
        int32_t* const targets[] = {&numbers[0], &numbers[1], &numbers[2], &numbers[3], &numbers[4], &numbers[5]};
        const int read = ScanIntegers(value.c_str(), format.pattern, targets, static_cast<size_t>(format.numbers));
        const bool blankBeforeComma =
            value.find(u" ,") != std::u16string::npos || value.find(u"\t,") != std::u16string::npos;
        const std::string octal = std::string(format.pattern).find('i') != std::string::npos ? OctalReading(value)
                                                                                              : std::string();
        if (!octal.empty()) {
            check.Warning(line, shown + " is read with octal numbers: " + octal,
                          "a leading 0 makes a number octal; write it without");
        }
        if (read < format.numbers) {
            check.Warning(line,
                          shown + " is read only partly: " + std::to_string(read) + " of " +
                              std::to_string(format.numbers) + " numbers (" + format.names + ")",
                          blankBeforeComma ? "a blank before a comma stops the reading" : format.whenShort);
        }
        if (IsFontKey(key) && value.find(u',') == std::u16string::npos) {
            check.Warning(line, shown + " has no face name after a comma",
                          folded == u"font" ? "the copyright font and colours keep what they were"
                                            : "the text is drawn in the window's default font");
        } else if (IsFontKey(key)) {
            CheckFaceName(check, value, line);
        }
        return;
    }
}

}  // namespace

void CheckNumbers(CheckContext& check) {
    for (const auto& entry : check.readSections) {
        const ReadSection& section = entry.second;
        for (const std::u16string& key : section.keys) {
            const int32_t line = iniReader.KeyLine(section.name.c_str(), key.c_str());
            if (line == 0) continue;
            const std::u16string value = IniValue(section.name, key);
            if (value.empty()) continue;
            CheckValue(check, key, value, line);
        }
    }
}
