#include "check/disc_check.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "check/code_pages.h"
#include "check/launch_findings.h"
#include "config/formatted_input.h"
#include "config/ini_reader.h"
#include "config/language_selection.h"
#include "config/language_tag.h"
#include "config/menu_loader.h"
#include "config/menu_model.h"
#include "config/wide_text.h"
#include "launch/launch_conditions.h"
#include "platform/code_page.h"
#include "platform/text.h"

namespace fs = std::filesystem;

namespace {

constexpr const char16_t* kGeneral = u"General";
constexpr size_t kLongestLine = 255;

std::string Narrow(const std::u16string& text) {
    char narrow[kNarrowCapacity];
    return ToNarrow(narrow, text.c_str());
}

std::u16string Widen(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

std::u16string Fold(std::u16string text) {
    for (char16_t& unit : text) unit = FoldAZ(unit);
    return text;
}

bool IsBlank(char16_t unit) {
    return unit == u' ' || unit == u'\t';
}

std::u16string TrimRight(std::u16string text) {
    while (!text.empty() && IsBlank(text.back())) text.pop_back();
    return text;
}

std::u16string Value(const std::u16string& section, const std::u16string& key) {
    char16_t value[kIniValueCapacity];
    iniReader.GetString(section.c_str(), key.c_str(), u"", value);
    return value;
}

std::u16string ButtonSection(int32_t number, const std::u16string& tag) {
    return u"Button" + Widen(std::to_string(number)) + u"-" + tag;
}

std::string Decimal(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.8g", static_cast<double>(value));
    return text;
}

std::string RectText(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// Edits that turn one key into the other, letter case ignored.
size_t EditDistance(const std::u16string& a, const std::u16string& b) {
    const std::u16string x = Fold(a);
    const std::u16string y = Fold(b);
    std::vector<size_t> row(y.size() + 1);
    for (size_t j = 0; j <= y.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= x.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= y.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[y.size()];
}

std::u16string Nearest(const std::u16string& key, const std::vector<std::u16string>& candidates) {
    std::u16string best;
    size_t bestDistance = SIZE_MAX;
    for (const std::u16string& candidate : candidates) {
        const size_t distance = EditDistance(key, candidate);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    return best;
}

// The keys the menu reads in one section, as it names them.
struct ReadSection {
    std::u16string name;
    std::vector<std::u16string> keys;
    bool Reads(const std::u16string& key) const {
        const std::u16string folded = Fold(key);
        return std::any_of(keys.begin(), keys.end(), [&](const std::u16string& k) { return Fold(k) == folded; });
    }
};

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

// Pauses the noting of lookups while the check reads values of its own.
class NotingPaused {
public:
    explicit NotingPaused(std::vector<UnicodeIniReader::Lookup>* resume) : resume(resume) {
        iniReader.NoteLookups(nullptr);
    }
    ~NotingPaused() { iniReader.NoteLookups(resume); }
    NotingPaused(const NotingPaused&) = delete;
    NotingPaused& operator=(const NotingPaused&) = delete;

private:
    std::vector<UnicodeIniReader::Lookup>* resume;
};

class DiscChecker {
public:
    DiscChecker(const fs::path& folder, const CheckSettings& settings) : disc(folder), settings(settings) {}

    std::vector<Finding> Run() {
        if (!fs::exists(disc.Root() / "install.ini")) {
            Error(0, "there is no install.ini in " + disc.Root().string(),
                  "the menu reads install.ini from the folder of tessaline.exe");
            return findings;
        }
        // A new load, even of a path read before: the file may have changed.
        iniReader.Clear();
        std::string failure;
        if (!LoadDiscIni(disc, &failure)) {
            Error(1, "the menu cannot load install.ini: " + failure + EncodingOfFile(),
                  "save it as UTF-16 little endian with a byte-order mark (\"Unicode\" in Notepad), or convert it "
                  "with tessaline-check --to-utf16 IN OUT");
            return findings;
        }
        generalLine = iniReader.SectionHeaderLine(kGeneral);
        CheckLineLengths();
        CheckBitmaps();
        CheckCounts();
        RunTheMenu();
        CheckLanguages();
        CheckSections();
        CheckNumberPatterns();
        return findings;
    }

private:
    void Error(int32_t line, const std::string& message, const std::string& hint = "") {
        findings.push_back(Finding{line, Severity::kError, message, hint});
    }
    void Warning(int32_t line, const std::string& message, const std::string& hint = "") {
        findings.push_back(Finding{line, Severity::kWarning, message, hint});
    }

    // What the first bytes of an install.ini that fails to load say it is.
    std::string EncodingOfFile() const {
        std::ifstream in(disc.Root() / "install.ini", std::ios::binary);
        char head[3] = {0, 0, 0};
        in.read(head, 3);
        const std::string bytes(head, static_cast<size_t>(in.gcount()));
        if (bytes.size() < 2) return "; the file is empty";
        if (bytes.size() == 3 && bytes == "\xEF\xBB\xBF") return "; the file is UTF-8";
        if (bytes.compare(0, 2, "\xFE\xFF") == 0) return "; the file is UTF-16 big endian";
        return "; the file has no byte-order mark: it is ANSI or UTF-8 text";
    }

    void CheckLineLengths() {
        for (const UnicodeIniReader::Line& line : iniReader.Lines()) {
            if (line.length > kLongestLine) {
                Warning(line.number,
                        "the line is " + std::to_string(line.length) + " characters long; the menu reads lines of "
                        "at most 255",
                        "a longer value is cut");
            }
        }
    }

    int32_t LineOr(int32_t line, int32_t fallback) const { return line != 0 ? line : fallback; }

    // The smallest scale over the screens given, and the screen that gives it.
    float SmallestScale(Size* screen) const {
        char16_t appSize[kIniValueCapacity];
        iniReader.GetString(kGeneral, u"AppSize", u"0,0", appSize);
        float smallest = 1.0f;
        for (const Size& s : settings.screens) {
            const float scale = ScaleForScreen(s, appSize);
            if (scale < smallest || (scale == smallest && s.width * int64_t{s.height} <
                                                              screen->width * int64_t{screen->height})) {
                smallest = scale;
                *screen = s;
            }
        }
        return smallest;
    }

    void CheckBitmaps() {
        const BitmapNames names = ReadBitmapNames(iniReader);
        const int32_t line256 = iniReader.KeyLine(kGeneral, u"BitmapFile256");
        const int32_t line016 = iniReader.KeyLine(kGeneral, u"BitmapFile016");
        std::set<std::string> examined;
        for (int32_t colors : {-1, 256}) {
            const char16_t* taken = ChooseBitmapName(names, colors);
            if (taken == nullptr) {
                Error(LineOr(generalLine, 1),
                      "neither BitmapFile256 nor BitmapFile016 names a picture: the menu stops with \"Neither "
                      "BitmapFile256 nor BitmapFile016 were found in the ini file.\"",
                      "name a .bmp file of the disc in BitmapFile256");
                return;
            }
            const bool is256 = taken == names.name256;
            const int32_t line = is256 ? line256 : LineOr(line016, line256);
            const std::string key = is256 ? "BitmapFile256" : "BitmapFile016";
            const std::string name = Narrow(taken);
            if (examined.insert(name).second) CheckBitmap(name, key, line);
        }
    }

    void CheckBitmap(const std::string& name, const std::string& key, int32_t line) {
        if (IsAbsoluteDiscPath(name)) {
            Error(line, key + " " + name + " is an absolute path: the picture is looked for on the user's system, "
                              "not on the disc",
                  "name it relative to the disc's root");
            return;
        }
        const fs::path file = disc.Find(name);
        if (file.empty()) {
            if (!disc.AddedByBuild(name)) Error(line, key + " names " + name + ", which is not on the disc");
            return;
        }
        const BitmapFacts facts = ReadBitmapFacts(file);
        if (!facts.loadsAsIs) {
            Error(line, name + " is not a Windows bitmap file: the menu stops with \"Couldn't read bit map file " +
                            name + "\"",
                  "save it as an uncompressed .bmp file");
            return;
        }
        if (bitmapSize.width == 0) bitmapSize = Size{facts.width, facts.height};
        Size screen{0, 0};
        const float scale = SmallestScale(&screen);
        const std::string shrinks = "on a " + std::to_string(screen.width) + "x" + std::to_string(screen.height) +
                                    " screen the menu shrinks it (scale " + Decimal(scale) + ")";
        if (scale < 1.0f && !facts.readable) {
            Error(line,
                  name + " is not a whole Windows bitmap file, and " + shrinks +
                      ", which it only does with a whole file: it stops with \"Incorrect bitmap format\"",
                  "save it again as an uncompressed .bmp file");
        } else if (scale < 1.0f && !CanBeResampled(facts)) {
            Error(line,
                  name + " has " + std::to_string(facts.bitsPerPixel) + " bits per pixel, and " + shrinks +
                      ", which it can only do with 16- and 256-colour pictures: it stops with \"Incorrect bitmap "
                      "format\"",
                  "save the picture with 256 colours (8 bits per pixel)");
        }
    }

    void CheckCounts() {
        buttonCount = iniReader.GetInt(kGeneral, u"ButtonCount", 0);
        const int32_t buttonLine = iniReader.KeyLine(kGeneral, u"ButtonCount");
        if (buttonCount < 2) {
            Error(LineOr(buttonLine, LineOr(generalLine, 1)),
                  (buttonLine != 0 ? "ButtonCount is " + Narrow(Value(kGeneral, u"ButtonCount"))
                                   : std::string("ButtonCount is missing")) +
                      ": the menu needs at least 2 buttons and stops with \"Couldn't read ini file at ...\"",
                  "set ButtonCount in [General] to the number of [Button<n>-<language>] sections");
        } else if (buttonCount > kMaxButtons) {
            Warning(buttonLine, "ButtonCount is " + std::to_string(buttonCount) + ": the menu shows only the first " +
                                    std::to_string(kMaxButtons) + " buttons");
        }
        languageCount = iniReader.GetInt(kGeneral, u"LanguageCount", 0);
        if (languageCount > kMaxLanguages) {
            Warning(iniReader.KeyLine(kGeneral, u"LanguageCount"),
                    "LanguageCount is " + std::to_string(languageCount) + ": the menu offers only the first " +
                        std::to_string(kMaxLanguages) + " languages");
        }
    }

    // A fresh model for one run of the loader, at the menu's own size.
    SystemChoice Choice(uint16_t userLanguage, bool everyLocale) const {
        SystemChoice choice = settings.system;
        choice.userLanguageId = userLanguage;
        choice.everyLocaleInstalled = everyLocale;
        choice.installedLanguages.clear();
        return choice;
    }

    int32_t Load(const SystemChoice& choice, bool unattended) {
        UseSystem(choice, unattended);
        menu.bitmapSize = bitmapSize;
        char16_t tag[kLanguageTagCapacity];
        UserLanguageTag(choice.userLanguageId, tag, kLanguageTagCapacity);
        return LoadMenuConfiguration(menu.iniPath, tag);
    }

    // Runs the menu's start-up and its loader in every offered language, in
    // both modes, noting every key it reads, and examines each result.
    void RunTheMenu() {
        iniReader.NoteLookups(&lookups);
        const SystemChoice own = Choice(settings.system.userLanguageId, true);
        for (bool unattended : {false, true}) RunStartup(disc, own, unattended);

        Load(own, false);
        const int32_t offered = menu.languageCount;
        std::vector<std::u16string> tags;
        for (int32_t k = 0; k < offered; ++k) tags.push_back(menu.languageTags[k]);

        if (offered == 0) {
            for (bool unattended : {false, true}) {
                Load(own, unattended);
                Examine(u"", settings.system.userLanguageId, unattended);
            }
        }
        for (int32_t k = 0; k < offered; ++k) {
            const uint16_t identifier = static_cast<uint16_t>(IdentifierOf(tags[k]));
            for (bool unattended : {false, true}) {
                // Every language is installed here, so that each can be chosen.
                Load(own, unattended);
                SelectLanguage(nullptr, k, false);
                Examine(tags[k], identifier, unattended);
            }
            // A user of this language on a system without it: the refusal
            // comes with the texts of the user's own list section.
            Load(Choice(identifier, false), false);
            SelectLanguage(nullptr, 0, true);
        }
        platform::offline::ForgetRecords();
        iniReader.NoteLookups(nullptr);

        for (const UnicodeIniReader::Lookup& lookup : lookups) {
            ReadSection& section = readSections[Fold(lookup.section)];
            section.name = lookup.section;
            if (!section.Reads(lookup.key)) section.keys.push_back(lookup.key);
        }
    }

    static uint32_t IdentifierOf(const std::u16string& text) {
        int32_t identifier = 0;
        int32_t* const targets[] = {&identifier};
        ScanIntegers(text.c_str(), "%i", targets, 1);
        return static_cast<uint32_t>(identifier);
    }

    // The model of one language, as the loader left it.
    void Examine(const std::u16string& tag, uint16_t language, bool unattended) {
        const NotingPaused paused(&lookups);
        const int32_t count = std::min(menu.buttonCount, kMaxButtons);
        for (int32_t i = 0; i < count; ++i) {
            const std::u16string section = ButtonSection(i + 1, tag);
            const Button& button = menu.buttons[i];
            if (unattended) {
                CheckLaunch(section, "SilentPath", "SilentArgs", button.path, button.args, language);
                continue;
            }
            CheckLaunch(section, "PreRun", "PreArgs", button.preRun, button.preArgs, language);
            CheckLaunch(section, "Path", "Args", button.path, button.args, language);
            CheckExit(section);
            CheckCondition(section, button);
        }
        if (!unattended) {
            CheckRectangles(tag);
            CheckHelpTexts(tag, language);
        }
    }

    void CheckLaunch(const std::u16string& section, const char* programKey, const char* argumentsKey,
                     const char16_t* program, const char16_t* arguments, uint16_t language) {
        const LaunchKeys launch{programKey,
                                argumentsKey,
                                program,
                                arguments,
                                iniReader.KeyLine(section.c_str(), Widen(programKey).c_str()),
                                iniReader.KeyLine(section.c_str(), Widen(argumentsKey).c_str())};
        ::CheckLaunch(launch, disc, settings.system.programFolder, SystemFor(language), &findings);
    }

    void CheckExit(const std::u16string& section) {
        const int32_t line = iniReader.KeyLine(section.c_str(), u"Exit");
        if (line == 0) return;
        const std::u16string value = Value(section, u"Exit");
        const std::u16string folded = Fold(value);
        if (folded == u"true" || folded == u"false") return;
        const bool ends = !value.empty() && (value[0] == u't' || value[0] == u'T');
        Warning(line,
                "Exit=" + Narrow(value) + " is neither true nor false: the menu reads it as " +
                    (ends ? "true and ends after the button" : "false and stays open"),
                "only a value that begins with t or T ends the menu");
    }

    // Restricts: blocks on some system, whatever the version range says.
    static bool WordRestricts(const char* word) {
        const int32_t kind = menu.osKind;
        const int32_t version = menu.osVersion;
        bool restricts = false;
        menu.osVersion = 0;
        for (int32_t k : {kOsUnknown, kOs9x, kOsPersonal, kOsProfessional, kOsServer}) {
            menu.osKind = k;
            restricts = restricts || ConditionBlocks(word, "", "");
        }
        menu.osKind = kind;
        menu.osVersion = version;
        return restricts;
    }

    // The table word that `word` spells in other letter case, where case
    // counts; null for any other word.
    static const char* WordInOtherCase(const char* word) {
        for (const char* tableWord : {"nt", "pers", "pro", "srv"}) {
            if (EqualsFoldingAZ(word, tableWord) && std::strcmp(word, tableWord) != 0) return tableWord;
        }
        return nullptr;
    }

    void CheckCondition(const std::u16string& section, const Button& button) {
        const int32_t line = iniReader.KeyLine(section.c_str(), u"PreCond");
        if (line == 0 || button.preCond[0] == 0) return;
        if (button.preRun[0] == 0 && button.preArgs[0] == 0) {
            Warning(line, "PreCond is never used: the button has no PreRun");
            return;
        }
        char narrow[kNarrowCapacity];
        ConditionFields fields;
        SplitCondition(ToNarrow(narrow, button.preCond), &fields);
        const std::string word = fields.osWord;
        const char* const meant = WordInOtherCase(fields.osWord);
        if (meant != nullptr) {
            Warning(line,
                    "PreCond word \"" + word + "\" is not \"" + meant + "\": the menu takes nt, pers, pro and srv in "
                    "lower case only, so this condition restricts nothing",
                    std::string("write ") + meant);
        } else if (!word.empty() && !WordRestricts(fields.osWord) && !EqualsFoldingAZ(fields.osWord, "all")) {
            Warning(line, "PreCond word \"" + word + "\" is not one the menu knows: it restricts no system",
                    "the words are all, 9x, nt, pers, pro and srv, written without blanks");
        }
        for (const auto& field : {std::make_pair("minimum", std::string(fields.minimum)),
                                  std::make_pair("maximum", std::string(fields.maximum))}) {
            const std::string& text = field.second;
            if (text.empty()) continue;
            const size_t length = NumberLength(text);
            const std::string hint = "write a version as major x 100 + minor, such as 501 for 5.1";
            if (length == 0) {
                Warning(line, std::string("PreCond ") + field.first + " \"" + text + "\" reads as 0", hint);
            } else if (text.find_first_not_of(" \t", length) != std::string::npos) {
                Warning(line,
                        std::string("PreCond ") + field.first + " \"" + text + "\" is read only partly, as " +
                            std::to_string(ReadConditionInteger(text.c_str())),
                        hint);
            }
        }
    }

    // The line that set a layout value: the language's own key when it has
    // a value, else General's.
    int32_t LayoutLine(const std::u16string& tag, const char16_t* key) {
        const std::u16string prompt = u"Prompt-" + tag;
        const int32_t own = iniReader.KeyLine(prompt.c_str(), key);
        if (own != 0 && !Value(prompt, key).empty()) return own;
        return iniReader.KeyLine(kGeneral, key);
    }

    void CheckRectangles(const std::u16string& tag) {
        const int32_t width = menu.windowRect.right - menu.windowRect.left;
        const int32_t height = menu.windowRect.bottom - menu.windowRect.top;
        if (width <= 0 || height <= 0) return;
        const std::string window = std::to_string(width) + "x" + std::to_string(height);
        auto check = [&](const Rect& r, const std::string& what, int32_t line) {
            if (line == 0 || (r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0)) return;
            if (r.left < 0 || r.top < 0 || r.right > width || r.bottom > height) {
                Warning(line, what + " " + RectText(r) + " reaches outside the window (" + window + ")",
                        "the menu draws only inside its window");
            }
        };
        const int32_t bitmapLine = LayoutLine(tag, u"BitmapRect");
        check(menu.bitmapRect, bitmapLine != 0 ? "BitmapRect" : "the picture", LineOr(bitmapLine, LayoutLine(tag, u"AppSize")));
        check(menu.buttonPaneRect, "ButtonPaneRect", LayoutLine(tag, u"ButtonPaneRect"));
        check(menu.helpRect, "HelpRect", LayoutLine(tag, u"HelpRect"));
        const int32_t count = std::min(menu.buttonCount, kMaxButtons);
        for (int32_t i = 0; i < count; ++i) {
            check(menu.buttons[i].rect, "BtnRect", iniReader.KeyLine(ButtonSection(i + 1, tag).c_str(), u"BtnRect"));
        }
        if (menu.languageCount > 1) {
            check(menu.languageBoxRect, "the language list's BtnRect",
                  iniReader.KeyLine((u"LangCombo-" + tag).c_str(), u"BtnRect"));
        }
        const Point& p = menu.copyrightPos;
        const int32_t positionLine = iniReader.KeyLine((u"Copyright-" + tag).c_str(), u"Position");
        if (positionLine != 0 && (p.x < 0 || p.y < 0 || p.x >= width || p.y >= height)) {
            Warning(positionLine,
                    "Position " + std::to_string(p.x) + "," + std::to_string(p.y) + " lies outside the window (" +
                        window + ")",
                    "the copyright line is not seen");
        }
    }

    // The system a language's texts are meant for: the one --lang names, or
    // else one set up for that language.
    LanguageSystem SystemFor(uint16_t language) const {
        return LanguageSystemOf(settings.languageGiven ? settings.system.userLanguageId : language);
    }

    void CheckHelpTexts(const std::u16string& tag, uint16_t language) {
        const LanguageSystem system = SystemFor(language);
        if (system.codePage == 0) return;
        auto check = [&](const std::u16string& text, int32_t line) {
            if (line == 0 || platform::FitInCodePage(system.codePage, text) != platform::CodePageFit::kLacksCharacters) {
                return;
            }
            Warning(line,
                    "the help text has characters that the ANSI code page " + std::to_string(system.codePage) +
                        " of a " + system.tag + " system cannot show (" + CharactersLacking(system.codePage, text, 3) +
                        "): they appear as ?",
                    "help texts are drawn in the system's ANSI code page");
        };
        check(menu.defaultHelp, iniReader.KeyLine((u"Prompt-" + tag).c_str(), u"DefHelp"));
        const int32_t count = std::min(menu.buttonCount, kMaxButtons);
        for (int32_t i = 0; i < count; ++i) {
            check(menu.buttons[i].help, iniReader.KeyLine(ButtonSection(i + 1, tag).c_str(), u"Help"));
        }
    }

    void CheckLanguages() {
        const int32_t buttons = std::clamp(buttonCount, 0, kMaxButtons);
        const int32_t languages = std::clamp(languageCount, 0, kMaxLanguages);
        const int32_t countLine = LineOr(iniReader.KeyLine(kGeneral, u"LanguageCount"), generalLine);
        if (languages == 0) {
            const int32_t buttonLine = iniReader.KeyLine(kGeneral, u"ButtonCount");
            for (int32_t n = 1; n <= buttons; ++n) {
                const std::u16string section = ButtonSection(n, u"");
                if (iniReader.SectionHeaderLine(section.c_str()) == 0) {
                    Warning(buttonLine, "there is no [" + Narrow(section) + "] section",
                            "without LanguageCount the buttons are read from [Button1-], [Button2-] and so on");
                }
            }
            return;
        }
        for (int32_t n = 1; n <= languages; ++n) {
            const std::u16string key = u"language" + Widen(std::to_string(n));
            const int32_t line = iniReader.KeyLine(u"Languages", key.c_str());
            const std::u16string value = Value(u"Languages", key);
            int32_t identifier = 0;
            int32_t ignored = 0;
            int32_t* const targets[] = {&identifier, &ignored};
            if (ScanIntegers(value.c_str(), "%i,%d", targets, 2) == 0) {
                Warning(LineOr(line, countLine),
                        line == 0 ? Narrow(key) + " is missing from [Languages]"
                                  : Narrow(key) + "=" + Narrow(value) + " holds no language identifier",
                        "the language reads as 0x00; write its identifier, such as 0x09 for English");
                continue;
            }
            if (static_cast<uint32_t>(identifier) > 0x3FF) {
                char tag[16];
                std::snprintf(tag, sizeof tag, "0x%2.2X", static_cast<unsigned>(identifier) & 0x3FFu);
                Warning(line,
                        Narrow(key) + "=" + Narrow(value) +
                            " is more than a primary language: the menu never takes it for the user's language",
                        std::string("write the primary language alone, ") + tag);
            }
            char16_t tag[kLanguageTagCapacity];
            FormatLanguageTag(static_cast<uint32_t>(identifier), tag, kLanguageTagCapacity);
            const std::string tagText = Narrow(tag);
            auto expect = [&](const std::u16string& section, const std::string& withoutIt) {
                if (iniReader.SectionHeaderLine(section.c_str()) == 0) {
                    Warning(line, "language " + tagText + " has no [" + Narrow(section) + "] section", withoutIt);
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
                Warning(line,
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

    // The first line that begins with the header of `name`, after line `after`.
    int32_t HeaderLineAfter(const std::u16string& name, int32_t after) const {
        const std::u16string header = Fold(u"[" + name + u"]");
        for (const UnicodeIniReader::Line& line : iniReader.Lines()) {
            if (line.number > after && Fold(std::u16string(line.text, line.length)).compare(0, header.size(), header) == 0) {
                return line.number;
            }
        }
        return 0;
    }

    void CheckSections() {
        std::set<std::u16string> wronglyHeaded;
        for (const auto& entry : readSections) {
            const ReadSection& section = entry.second;
            size_t column = 0;
            const int32_t headerLine = iniReader.SectionHeaderLine(section.name.c_str(), &column);
            if (headerLine == 0) continue;
            const std::string header = "[" + Narrow(section.name) + "]";
            if (column > 0) {
                wronglyHeaded.insert(entry.first);
                const int32_t real = HeaderLineAfter(section.name, headerLine);
                Warning(headerLine,
                        "the text " + header + " inside this line is taken for the section's header, so the "
                        "section is read from the next line on",
                        real != 0 ? "the header on line " + std::to_string(real) + " is never reached"
                                  : "write the header at the start of its own line");
            }
            CheckKeys(section, header);
        }

        // Headers at the start of a line that no lookup takes.
        for (const UnicodeIniReader::Line& line : iniReader.Lines()) {
            const std::u16string text(line.text, line.length);
            const size_t close = text.find(u']');
            if (text.empty() || text[0] != u'[' || close == std::u16string::npos) continue;
            const std::u16string name = text.substr(1, close - 1);
            const auto read = readSections.find(Fold(name));
            if (read == readSections.end()) {
                Warning(line.number, "the section [" + Narrow(name) + "] is never read", UnreadSectionHint(name));
            } else if (wronglyHeaded.count(read->first) == 0) {
                const int32_t first = iniReader.SectionHeaderLine(name.c_str());
                if (first != line.number) {
                    Warning(line.number, "[" + Narrow(name) + "] appears again: the menu reads only the section on line " +
                                             std::to_string(first));
                }
            }
        }
    }

    std::string UnreadSectionHint(const std::u16string& name) const {
        const std::u16string folded = Fold(name);
        const size_t dash = name.rfind(u'-');
        if (folded.compare(0, 6, u"button") == 0 && dash != std::u16string::npos) {
            const int32_t number = WideToInt(name.substr(6, dash - 6).c_str());
            if (number > buttonCount) return "ButtonCount is " + std::to_string(buttonCount);
        }
        if (dash != std::u16string::npos) {
            const std::u16string tag = Fold(name.substr(dash + 1));
            bool offered = tag.empty() && languageCount <= 0;
            for (const auto& entry : readSections) {
                const size_t d = entry.first.rfind(u'-');
                offered = offered || (d != std::u16string::npos && entry.first.substr(d + 1) == tag);
            }
            if (!offered) return "the language " + Narrow(name.substr(dash + 1)) + " is not offered in [Languages]";
        }
        std::vector<std::u16string> names;
        for (const auto& entry : readSections) names.push_back(entry.second.name);
        return names.empty() ? "" : "nearest section the menu reads: [" + Narrow(Nearest(name, names)) + "]";
    }

    void CheckKeys(const ReadSection& section, const std::string& header) {
        std::map<std::u16string, int32_t> seen;
        for (const UnicodeIniReader::Line& line : iniReader.SectionLines(section.name.c_str())) {
            const std::u16string text(line.text, line.length);
            if (text[0] == u';' || text[0] == u'#') continue;
            const size_t equals = text.find(u'=');
            if (equals == std::u16string::npos) {
                // Free text is left alone; a key without its "=" is a mistake.
                const std::u16string word = text.substr(0, text.find_first_of(u" \t:"));
                if (section.Reads(word)) {
                    Warning(line.number, Narrow(word) + " in " + header + " has no \"=\": the menu never reads this line",
                            "write " + Narrow(word) + "=value");
                }
                continue;
            }
            const std::u16string key = TrimRight(text.substr(0, equals));
            if (key.empty()) continue;
            if (IsBlank(key[0])) {
                const std::u16string trimmed = key.substr(key.find_first_not_of(u" \t"));
                Warning(line.number,
                        "the key " + Narrow(trimmed) + " stands after blanks: the menu finds a key only at the start "
                        "of its line",
                        "remove the blanks before the key");
                continue;
            }
            const std::u16string folded = Fold(key);
            if (!section.Reads(key)) {
                Warning(line.number, Narrow(key) + " in " + header + " is never read",
                        "nearest key the menu reads there: " + Narrow(Nearest(key, section.keys)));
                continue;
            }
            const auto first = seen.find(folded);
            if (first != seen.end()) {
                Warning(line.number, Narrow(key) + " appears again in " + header + ": the menu reads the first, on "
                                     "line " + std::to_string(first->second));
            } else {
                seen[folded] = line.number;
            }
        }
    }

    void CheckNumberPatterns() {
        for (const auto& entry : readSections) {
            const ReadSection& section = entry.second;
            for (const std::u16string& key : section.keys) {
                const int32_t line = iniReader.KeyLine(section.name.c_str(), key.c_str());
                if (line == 0) continue;
                const std::u16string value = Value(section.name, key);
                if (value.empty()) continue;
                CheckNumbers(key, value, line);
            }
        }
    }

    void CheckNumbers(const std::u16string& key, const std::u16string& value, int32_t line) {
        const std::string shown = Narrow(key) + "=" + Narrow(value);
        const std::u16string folded = Fold(key);
        if (folded == u"buttoncount" || folded == u"languagecount") {
            if (!IsWholeInteger(value)) {
                Warning(line, shown + " is read only partly, as " + std::to_string(WideToInt(value.c_str())),
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
            if (read < format.numbers) {
                Warning(line,
                        shown + " is read only partly: " + std::to_string(read) + " of " +
                            std::to_string(format.numbers) + " numbers (" + format.names + ")",
                        blankBeforeComma ? "a blank before a comma stops the reading" : format.whenShort);
            }
            if (IsFontKey(key) && value.find(u',') == std::u16string::npos) {
                Warning(line, shown + " has no face name after a comma",
                        folded == u"font" ? "the copyright font and colours keep what they were"
                                          : "the text is drawn in the window's default font");
            }
            return;
        }
    }

    DiscFolder disc;
    const CheckSettings& settings;
    std::vector<Finding> findings;
    std::vector<UnicodeIniReader::Lookup> lookups;
    std::map<std::u16string, ReadSection> readSections;  // by folded name
    int32_t generalLine = 0;
    int32_t buttonCount = 0;
    int32_t languageCount = 0;
    Size bitmapSize{0, 0};
};

}  // namespace

std::vector<Finding> CheckDisc(const fs::path& discFolder, const CheckSettings& settings) {
    DiscChecker checker(discFolder, settings);
    return SortedFindings(checker.Run());
}
