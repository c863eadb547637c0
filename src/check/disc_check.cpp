#include "check/disc_check.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "app/language_list.h"
#include "check/button_findings.h"
#include "check/check_context.h"
#include "check/count_findings.h"
#include "check/disc_name_findings.h"
#include "check/disc_start_findings.h"
#include "check/help_text_findings.h"
#include "check/ini_text.h"
#include "check/language_findings.h"
#include "check/number_findings.h"
#include "check/picture_findings.h"
#include "check/rectangle_findings.h"
#include "check/screen_findings.h"
#include "check/section_findings.h"
#include "check/to_utf16.h"
#include "config/formatted_input.h"
#include "config/ini_reader.h"
#include "config/language_tag.h"
#include "config/menu_loader.h"
#include "config/menu_model.h"
#include "render/fonts.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kLongestLine = 255;

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

// What the first bytes of an install.ini that fails to load say it is; the
// head is enough to tell the order of UTF-16 text without a mark.
std::string EncodingOfFile(const fs::path& file) {
    constexpr size_t kHeadBytes = 4096;
    std::ifstream in(file, std::ios::binary);
    std::string bytes(kHeadBytes, '\0');
    in.read(&bytes[0], static_cast<std::streamsize>(kHeadBytes));
    bytes.resize(static_cast<size_t>(in.gcount()));
    if (bytes.size() < 2) return "; the file is empty";
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return "; the file is UTF-8";
    if (bytes.compare(0, 2, "\xFE\xFF") == 0) return "; the file is UTF-16 big endian";
    switch (DetectUnmarkedUtf16(bytes)) {
        case UnmarkedUtf16::kLittleEndian: return "; the file is UTF-16 little endian without a byte-order mark";
        case UnmarkedUtf16::kBigEndian: return "; the file is UTF-16 big endian without a byte-order mark";
        case UnmarkedUtf16::kNone: break;
    }
    return "; the file has no byte-order mark: it is ANSI or UTF-8 text";
}

void CheckLineLengths(CheckContext& check) {
    for (const UnicodeIniReader::Line& line : iniReader.Lines()) {
        if (line.length > kLongestLine) {
            check.Warning(line.number,
                          "the line is " + std::to_string(line.length) +
                              " characters long; the menu reads lines of at most 255",
                          "a longer value is cut");
        }
    }
}

uint32_t IdentifierOf(const std::u16string& text) {
    int32_t identifier = 0;
    int32_t* const targets[] = {&identifier};
    ScanIntegers(text.c_str(), "%i", targets, 1);
    return static_cast<uint32_t>(identifier);
}

// The menu's start-up and its loader over the disc, in every offered
// language and in both modes, each result examined by the subjects that
// look at one language's model.
class MenuRuns {
public:
    explicit MenuRuns(CheckContext& check) : check(check) {}

    // Notes every key the runs read into the context's readSections.
    void Run() {
        iniReader.NoteLookups(&lookups);
        const SystemChoice own = Choice(check.settings.system.userLanguageId, true);
        for (bool unattended : {false, true}) RunStartup(check.disc, own, unattended);

        Load(own, false);
        const int32_t offered = menu.languageCount;
        std::vector<std::u16string> tags;
        for (int32_t k = 0; k < offered; ++k) tags.push_back(menu.languageTags[k]);

        if (offered == 0) {
            for (bool unattended : {false, true}) {
                Load(own, unattended);
                Examine(u"", check.settings.system.userLanguageId, unattended);
            }
        }
        for (int32_t k = 0; k < offered; ++k) {
            const uint16_t identifier = static_cast<uint16_t>(IdentifierOf(tags[k]));
            for (bool unattended : {false, true}) {
                // Every language is installed here, so that each can be chosen.
                Load(own, unattended);
                if (!SelectLanguage(nullptr, k, false)) continue;
                Examine(tags[k], identifier, unattended);
            }
            // A user of this language on a system without it: the refusal
            // comes with the texts of the user's own list section.
            Load(Choice(identifier, false), false);
            static_cast<void>(SelectLanguage(nullptr, 0, true));
        }
        platform::offline::ForgetRecords();
        iniReader.NoteLookups(nullptr);

        for (const UnicodeIniReader::Lookup& lookup : lookups) {
            ReadSection& section = check.readSections[Fold(lookup.section)];
            section.name = lookup.section;
            if (!section.Reads(lookup.key)) section.keys.push_back(lookup.key);
        }
    }

private:
    // A fresh model for one run of the loader, at the menu's own size.
    SystemChoice Choice(uint16_t userLanguage, bool everyLocale) const {
        SystemChoice choice = check.settings.system;
        choice.userLanguageId = userLanguage;
        choice.everyLocaleInstalled = everyLocale;
        choice.installedLanguages.clear();
        return choice;
    }

    int32_t Load(const SystemChoice& choice, bool unattended) {
        UseSystem(choice, unattended);
        menu.bitmapSize = check.bitmapSize;
        char16_t tag[kLanguageTagCapacity];
        UserLanguageTag(choice.userLanguageId, tag, kLanguageTagCapacity);
        const int32_t loaded = LoadMenuConfiguration(tag);
        MakeRequestedFonts();
        return loaded;
    }

    // The model of one language, as the loader left it.
    void Examine(const std::u16string& tag, uint16_t language, bool unattended) {
        const NotingPaused paused(&lookups);
        CheckButtons(check, tag, language, unattended);
        if (!unattended) {
            CheckRectangles(check, tag);
            CheckOverlaps(check, tag);
            CheckHelpTexts(check, tag, language);
        }
    }

    CheckContext& check;
    std::vector<UnicodeIniReader::Lookup> lookups;
};

}  // namespace

std::vector<Finding> CheckDisc(const fs::path& discFolder, const CheckSettings& settings) {
    CheckContext check(discFolder, settings);
    if (!fs::exists(check.disc.Root() / "install.ini")) {
        check.Error(0, "there is no install.ini in " + check.disc.Root().string(),
                    "the menu reads install.ini from the folder of tessaline.exe");
        return check.findings;
    }
    // A new load, even of a path read before: the file may have changed.
    iniReader.Clear();
    std::string failure;
    if (!LoadDiscIni(check.disc, &failure)) {
        check.Error(1, "the menu cannot load install.ini: " + failure + EncodingOfFile(check.disc.Root() / "install.ini"),
                    "save it as UTF-16 little endian with a byte-order mark (\"Unicode\" in Notepad), or convert it "
                    "with tessaline-check --to-utf16 IN OUT");
        return check.findings;
    }
    check.generalLine = iniReader.SectionHeaderLine(kGeneral);
    CheckLineLengths(check);
    CheckPictures(check);
    CheckCounts(check);
    MenuRuns(check).Run();
    CheckScreens(check);
    CheckLanguages(check);
    CheckSections(check);
    CheckNumbers(check);
    CheckDiscStart(check);
    CheckDiscNames(check);
    return SortedFindings(check.findings);
}
