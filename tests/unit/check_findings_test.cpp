// Each class of mistake tessaline-check reports, on a small disc that has
// that one mistake: the finding, its line, its severity and the exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "check/disc_check.h"
#include "check/findings.h"
#include "check/ini_text.h"
#include "check_disc_fixture.h"

namespace {

using Lines = std::vector<std::u16string>;
using Files = std::vector<std::pair<std::string, std::string>>;

// A disc that checks clean; the cases below change it.
const Lines kCleanIni = {
    u"[General]",            // 1
    u"BitmapFile256=b.bmp",  // 2
    u"ButtonCount=2",        // 3
    u"[Button1-]",           // 4
    u"Name=One",             // 5
    u"Path=setup.exe",       // 6
    u"[Button2-]",           // 7
    u"Name=Two",             // 8
    u"Exit=true",            // 9
};

const char kCleanAutorun[] = "[autorun]\r\nopen=tessaline.exe\r\nicon=tessaline.exe,0\r\n";

Files CleanFiles() {
    return {{"b.bmp", fixture::PlainBitmap(32, 32, {10, 20, 30})},
            {"setup.exe", "MZ"},
            {"tessaline.exe", "MZ"},
            {"autorun.inf", kCleanAutorun}};
}

// kCleanIni with line `number` replaced by `lines` (none: removed).
Lines Replace(int number, const Lines& lines) {
    Lines result = kCleanIni;
    result.erase(result.begin() + (number - 1));
    result.insert(result.begin() + (number - 1), lines.begin(), lines.end());
    return result;
}

Lines Append(const Lines& lines) {
    Lines result = kCleanIni;
    result.insert(result.end(), lines.begin(), lines.end());
    return result;
}

// What the check finds wrong: its notes, which say what the menu will do
// where nothing is, have tests of their own.
std::vector<Finding> Check(const TestDisc& disc, const CheckSettings& settings = CheckSettings{}) {
    std::vector<Finding> findings = CheckDisc(disc.Folder(), settings);
    findings.erase(std::remove_if(findings.begin(), findings.end(),
                                  [](const Finding& f) { return f.severity == Severity::kNote; }),
                   findings.end());
    return findings;
}

std::string Listing(const std::vector<Finding>& findings) {
    std::string text;
    for (const Finding& f : findings) text += FormatFinding(f) + "\n";
    return text;
}

struct FindingCase {
    const char* name;
    Lines ini;
    Files files;  // written after the clean disc's files, so they may replace them
    int32_t line;
    Severity severity;
    std::string fragment;  // of the message or its hint
    std::string file = kIniFileName;  // that the line is in, or that the finding is about
    std::vector<std::string> removed = {};  // files of the clean disc it lacks
};

// Test names show the case's name rather than its bytes.
void PrintTo(const FindingCase& c, std::ostream* out) {
    *out << c.name;
}

class FindingClass : public ::testing::TestWithParam<FindingCase> {};

TEST_P(FindingClass, IsReportedOnItsLine) {
    const FindingCase& c = GetParam();
    TestDisc disc;
    for (const auto& file : CleanFiles()) disc.Write(file.first, file.second);
    for (const auto& file : c.files) disc.Write(file.first, file.second);
    for (const std::string& file : c.removed) disc.Remove(file);
    disc.WriteIni(c.ini);
    const std::vector<Finding> findings = CheckDisc(disc.Folder(), CheckSettings{});
    bool found = false;
    for (const Finding& f : findings) {
        found = found || (f.file == c.file && f.line == c.line && f.severity == c.severity &&
                          (f.message + " " + f.hint).find(c.fragment) != std::string::npos);
    }
    EXPECT_TRUE(found) << "expected in " << c.file << " on line " << c.line << ": " << c.fragment << "\nreported:\n"
                       << Listing(findings);
    const int expected = c.severity == Severity::kError     ? kExitErrors
                         : c.severity == Severity::kWarning ? kExitWarnings
                                                            : kExitClean;
    EXPECT_EQ(ExitStatusOf(findings), expected) << Listing(findings);
}

const std::string kLongArguments(130, 'a');
// Larger than an 800 x 600 screen: the menu keeps its size without AppSize.
const Files kLargePicture = {{"b.bmp", fixture::PlainBitmap(1000, 700, {10, 20, 30})}};

// The clean disc with its buttons placed, and a line added to [General] at its end (line 4).
Lines Placed(const std::u16string& first, const std::u16string& second, const std::u16string& general = u"") {
    Lines lines = {u"[General]",          u"BitmapFile256=b.bmp", u"ButtonCount=2", u"[Button1-]",
                   u"Name=One",           u"Path=setup.exe",      u"BtnRect=" + first, u"[Button2-]",
                   u"Name=Two",           u"Exit=true",           u"BtnRect=" + second};
    if (!general.empty()) lines.insert(lines.begin() + 3, general);
    return lines;
}

// Two languages, each with its sections, the first as given.
Lines TwoLanguages(const std::u16string& first, const std::u16string& second) {
    Lines lines = {u"[General]", u"BitmapFile256=b.bmp", u"ButtonCount=2", u"LanguageCount=2", u"[Languages]",
                   u"language1=" + first + u",0", u"language2=" + second + u",0"};
    for (const std::u16string& tag : {first, second}) {
        for (const char16_t* section : {u"Prompt-", u"Copyright-", u"LangCombo-"}) {
            lines.push_back(std::u16string(u"[") + section + tag + u"]");
        }
        lines.insert(lines.end(), {u"[Button1-" + tag + u"]", u"Exit=true", u"[Button2-" + tag + u"]", u"Exit=true"});
    }
    return lines;
}
const std::u16string kLongName(300, u'n');

const FindingCase kCases[] = {
    // Errors: the menu stops, or a launch always fails.
    {"FewerThanTwoButtons", Replace(3, {u"ButtonCount=1"}), {}, 3, Severity::kError, "at least 2 buttons"},
    {"NoBitmapName", Replace(2, {}), {}, 1, Severity::kError, "neither BitmapFile256 nor BitmapFile016"},
    {"MissingBitmap", Replace(2, {u"BitmapFile256=pics\\gone.bmp"}), {}, 2, Severity::kError,
     "pics\\gone.bmp, which is not on the disc"},
    {"UnreadableBitmap", kCleanIni, {{"b.bmp", "BM but not a picture"}}, 2, Severity::kError,
     "not a Windows bitmap file"},
    {"TrueColourBitmapThatMustShrink", Replace(2, {u"BitmapFile256=b.bmp", u"AppSize=1000,700"}),
     {{"b.bmp", fixture::TrueColorBitmap(32, 32, {1, 2, 3})}}, 2, Severity::kError,
     "24 bits per pixel, and on a 800x600 screen the menu shrinks it"},
    {"ProgramOnADrive", Replace(6, {u"Path=C:\\setup.exe"}), {}, 6, Severity::kError, "names a drive"},
    {"ProgramOnANetworkShare", Replace(6, {u"Path=\\\\server\\disc\\setup.exe"}), {}, 6, Severity::kError,
     "names a network share"},
    {"ProgramNotOnTheDisc", Replace(6, {u"Path=tools\\gone.exe"}), {}, 6, Severity::kError,
     "tools\\gone.exe is not on the disc"},
    {"PreparatoryProgramNotOnTheDisc", Replace(6, {u"Path=setup.exe", u"PreRun=redist\\vc.exe"}), {}, 7,
     Severity::kError, "PreRun redist\\vc.exe is not on the disc"},
    {"SilentProgramNotOnTheDisc", Replace(6, {u"Path=setup.exe", u"SilentPath=quiet.exe"}), {}, 7, Severity::kError,
     "SilentPath quiet.exe is not on the disc"},
    {"ProgramWithCharactersTheCodePageLacks", Replace(6, {u"Path=\u65E5\u672C.exe"}),
     {{"\xE6\x97\xA5\xE6\x9C\xAC.exe", "MZ"}}, 6, Severity::kError,
     "characters that the ANSI code page 1252 of a 0x09 system lacks"},
    {"ArgumentsBeyondTheLauncher",
     Replace(6, {u"Path=setup.exe", u"Args=" + std::u16string(kLongArguments.begin(), kLongArguments.end())}), {}, 7,
     Severity::kError, "the launcher takes at most 127"},

    // Warnings: the menu runs, but not as the author meant.
    {"KeyNeverRead", Replace(6, {u"Path=setup.exe", u"BtnRec=1,2,3,4"}), {}, 7, Severity::kWarning,
     "nearest key the menu reads there: BtnRect"},
    {"KeyAfterBlanks", Replace(5, {u"  Name=One"}), {}, 5, Severity::kWarning, "the key Name stands after blanks"},
    {"KeyWithoutEquals", Replace(5, {u"Name One"}), {}, 5, Severity::kWarning, "has no \"=\""},
    {"FontReadPartly", Replace(3, {u"ButtonCount=2", u"BtnFont=13 ,400,0,0,Arial"}), {}, 4, Severity::kWarning,
     "BtnFont=13 ,400,0,0,Arial is read only partly: 1 of 4"},
    {"ColourReadPartly", Replace(3, {u"ButtonCount=2", u"BackColor=255,128"}), {}, 4, Severity::kWarning,
     "BackColor=255,128 is read only partly: 2 of 3"},
    {"SizeReadPartly", Replace(3, {u"ButtonCount=2", u"AppSize=640"}), {}, 4, Severity::kWarning,
     "a size without its height counts as missing"},
    {"CountReadPartly", Replace(3, {u"ButtonCount=2 buttons"}), {}, 3, Severity::kWarning,
     "is read only partly, as 2"},
    {"LineOver255Characters", Replace(5, {u"Name=" + kLongName}), {}, 5, Severity::kWarning,
     "305 characters long"},
    {"KeyShadowedByAnEarlierLine", Replace(5, {u"Name=One", u"Name=Uno"}), {}, 6, Severity::kWarning,
     "the menu reads the first, on line 5"},
    {"HeaderInsideAComment", Replace(1, {u"; [Button1-] comes below", u"[General]"}), {}, 1, Severity::kWarning,
     "the header on line 5 is never reached"},
    {"HeaderAppearsAgain", Append({u"[Button1-]", u"Args=/x"}), {}, 10, Severity::kWarning,
     "the menu reads only the section on line 4"},
    {"SectionNeverRead", Append({u"[Button3-]", u"Name=Three"}), {}, 10, Severity::kWarning, "ButtonCount is 2"},
    {"LanguageWithoutItsSections",
     {u"[General]", u"BitmapFile256=b.bmp", u"ButtonCount=2", u"LanguageCount=1", u"[Languages]", u"language1=0x07,0",
      u"[Copyright-0x07]", u"Name=(c)", u"[Button1-0x07]", u"Name=Eins", u"[Button2-0x07]", u"Name=Zwei"},
     {}, 6, Severity::kWarning, "no [Prompt-0x07] section"},
    {"LanguageIdentifierOfAWholeLocale",
     {u"[General]", u"BitmapFile256=b.bmp", u"ButtonCount=2", u"LanguageCount=1", u"[Languages]",
      u"language1=0x409,0", u"[Prompt-0x409]", u"[Copyright-0x409]", u"[Button1-0x409]", u"[Button2-0x409]"},
     {}, 6, Severity::kWarning, "write the primary language alone, 0x09"},
    {"PreCondWordOutsideTheTable", Replace(6, {u"Path=setup.exe", u"PreRun=setup.exe", u"PreCond=xp,0,0"}), {}, 8,
     Severity::kWarning, "PreCond word \"xp\" is not one the menu knows"},
    {"PreCondWordInOtherLetterCase", Replace(6, {u"Path=setup.exe", u"PreRun=setup.exe", u"PreCond=NT,500,0"}), {},
     8, Severity::kWarning, "PreCond word \"NT\" is not \"nt\""},
    {"PreCondFieldReadingAsZero", Replace(6, {u"Path=setup.exe", u"PreRun=setup.exe", u"PreCond=nt,five,0"}), {}, 8,
     Severity::kWarning, "minimum \"five\" reads as 0"},
    {"PreCondVersionWithADot", Replace(6, {u"Path=setup.exe", u"PreRun=setup.exe", u"PreCond=nt,5.1,0"}), {}, 8,
     Severity::kWarning, "read only partly, as 5"},
    {"PreArgsWithoutPreRun", Replace(6, {u"Path=setup.exe", u"PreArgs=/quiet"}), {}, 7, Severity::kWarning,
     "PreArgs without PreRun"},
    {"PreCondWithoutPreRun", Replace(6, {u"Path=setup.exe", u"PreCond=nt,500,0"}), {}, 7, Severity::kWarning,
     "PreCond is never used"},
    {"MoreThanTwelveButtons", Replace(3, {u"ButtonCount=13"}), {}, 3, Severity::kWarning,
     "the menu shows only the first 12 buttons"},
    {"MoreThanTenLanguages", Replace(3, {u"ButtonCount=2", u"LanguageCount=11"}), {}, 4, Severity::kWarning,
     "offers only the first 10 languages"},
    {"RectangleOutsideTheWindow", Replace(5, {u"Name=One", u"BtnRect=0,0,40,20"}), {}, 6, Severity::kWarning,
     "BtnRect 0,0,40,20 reaches outside the window (32x32)"},
    {"HelpTextTheCodePageCannotShow",
     {u"[General]", u"BitmapFile256=b.bmp", u"ButtonCount=2", u"LanguageCount=1", u"[Languages]", u"language1=0x09,0",
      u"[Prompt-0x09]", u"[Copyright-0x09]", u"[Button1-0x09]", u"Help=\u65E5\u672C\u8A9E (Japanese)",
      u"[Button2-0x09]"},
     {}, 10, Severity::kWarning, "the ANSI code page 1252 of a 0x09 system cannot show"},
    {"ExitNeitherTrueNorFalse", Replace(9, {u"Exit=yes"}), {}, 9, Severity::kWarning,
     "reads it as false and stays open"},

    // The menu on the screens the check takes.
    {"WindowLargerThanTheScreenWithoutAppSize", kCleanIni, kLargePicture, 1, Severity::kWarning,
     "on a 800x600 screen the window (1000x700) opens at -100,-50 and reaches outside the screen without AppSize "
     "the menu keeps its size: AppSize=1000,700"},
    {"ButtonOffTheScreen", Replace(9, {u"Exit=true", u"BtnRect=910,660,990,690"}), kLargePicture, 10,
     Severity::kError, "button 2 lies outside the 800x600 screen: the user cannot see or click it"},
    {"FontTooSmallOnAScreen", Replace(2, {u"BitmapFile256=b.bmp", u"AppSize=1000,700", u"HelpFont=9,400,0,0,Arial"}),
     kLargePicture, 4, Severity::kWarning, "on a 800x600 screen (scale 0.78) the help font is 7 pixels high"},
    // Layout, at the menu's own size.
    {"ButtonsOverlap", Placed(u"0,0,20,10", u"10,5,30,15"), {}, 11, Severity::kWarning,
     "button 1 and button 2 overlap at 10,5,20,10"},
    {"ButtonWhollyUnderALaterOne", Placed(u"5,5,10,10", u"0,0,30,30"), {}, 11, Severity::kError,
     "button 1 lies wholly under button 2 (0,0,30,30): the pointer never highlights it"},
    {"HelpAreaOverAButton", Placed(u"5,5,15,15", u"20,20,30,30", u"HelpRect=0,0,12,12"), {}, 4, Severity::kWarning,
     "button 1 and the help area overlap at 5,5,12,12"},
    {"CopyrightLineBelowTheWindow", Append({u"[Copyright-]", u"Name=(c) 2026", u"Position=2,28"}), {}, 12,
     Severity::kWarning, "the copyright line at 2,28 is 13 pixels high and reaches below the window (32x32)"},
    // Buttons.
    {"ButtonThatDoesNothing", Replace(9, {}), {}, 7, Severity::kWarning,
     "button 2 (Two) does nothing when clicked"},
    {"ButtonWithoutHelp", kCleanIni, {}, 4, Severity::kNote, "button 1 (One) has no Help"},
    {"PathWithAForwardSlash", Replace(6, {u"Path=tools/setup.exe"}), {{"tools/setup.exe", "MZ"}}, 6,
     Severity::kWarning, "so the program starts in D:\\ instead of its own folder write tools\\setup.exe"},
    {"ArgumentsWithAVariable", Replace(6, {u"Path=setup.exe", u"Args=/log %TEMP%\\setup.log"}), {}, 7,
     Severity::kWarning, "Args holds %TEMP%, which the menu hands over as written"},
    {"PreCondAboveEveryVersion", Replace(6, {u"Path=setup.exe", u"PreRun=setup.exe", u"PreCond=nt,1100,0"}), {}, 8,
     Severity::kWarning, "minimum 1100 is above every version Windows reports"},
    {"FaceNameOverItsBytes", Replace(2, {u"BitmapFile256=b.bmp", u"BtnFont=12,400,0,0," + std::u16string(35, u'F')}),
     {}, 3, Severity::kWarning, "is 35 bytes long: the system takes at most 31"},
    // Languages.
    {"FallbackLanguageThatSystemsOftenLack", TwoLanguages(u"0x11", u"0x09"), {}, 6, Severity::kWarning,
     "a user whose language is not offered gets Japanese (0x11), the first listed"},
    {"FallbackLanguage", TwoLanguages(u"0x09", u"0x07"), {}, 6, Severity::kNote,
     "a user whose language is not offered gets language 0x09"},
    {"LanguageWrittenInOctal", TwoLanguages(u"012", u"0x09"), {}, 6, Severity::kWarning,
     "read as an octal number: 012 reads as 10, so the language is 0x0A"},
    // What a missing file's message suggests.
    {"MistypedProgram", Replace(6, {u"Path=setpu.exe"}), {}, 6, Severity::kError, "nearest file on the disc: setup.exe"},
    {"QuotedProgram", Replace(6, {u"Path=\"setup.exe\""}), {}, 6, Severity::kError,
     "the menu puts the program in double quotes itself"},
    {"ProgramOfWindows", Replace(6, {u"Path=msiexec.exe"}), {}, 6, Severity::kError, "is a program of Windows"},
    {"WebAddress", Replace(6, {u"Path=https://example.com/"}), {}, 6, Severity::kError, "a web address is no file"},
    {"MistypedPicture", Replace(2, {u"BitmapFile256=bb.bmp"}), {}, 2, Severity::kError,
     "nearest file on the disc: b.bmp"},

    // How the disc starts the menu.
    {"AutorunProgramNotOnTheDisc", kCleanIni, {{"autorun.inf", "[autorun]\r\nopen=setup\\gone.exe /x\r\n"}}, 2,
     Severity::kError, "names setup\\gone.exe, which is not on the disc", "autorun.inf"},
    {"AutorunMenuNotOnTheDisc", kCleanIni, {}, 2, Severity::kError,
     "Windows cannot start the menu when the disc is inserted", "autorun.inf", {"tessaline.exe"}},
    {"MenuNotOnTheDiscWithoutAutorun", kCleanIni, {}, 0, Severity::kError,
     "there is no tessaline.exe beside install.ini", kIniFileName, {"tessaline.exe", "autorun.inf"}},
    {"AutorunStartsAnotherProgram", kCleanIni, {{"autorun.inf", "[autorun]\r\nopen=setup.exe\r\n"}}, 2,
     Severity::kWarning, "open= starts setup.exe, not the menu", "autorun.inf"},
    {"AutorunWithoutOpen", kCleanIni, {{"autorun.inf", "; the disc\r\n[autorun]\r\nicon=tessaline.exe\r\n"}}, 2,
     Severity::kWarning, "[autorun] has no open=", "autorun.inf"},
    {"AutorunWithoutItsSection", kCleanIni, {{"autorun.inf", "[auto run]\r\nopen=tessaline.exe\r\n"}}, 0,
     Severity::kWarning, "has no [autorun] section", "autorun.inf"},
    {"AutorunBehindAUtf8Mark", kCleanIni, {{"autorun.inf", "\xEF\xBB\xBF[autorun]\r\nopen=tessaline.exe\r\n"}}, 0,
     Severity::kWarning, "begins with a UTF-8 byte-order mark", "autorun.inf"},
    {"AutorunIconNotOnTheDisc", kCleanIni, {{"autorun.inf", "[autorun]\r\nopen=tessaline.exe\r\nicon=disc.ico,2\r\n"}},
     3, Severity::kWarning, "Explorer shows the drive's usual icon", "autorun.inf"},
    {"AutorunNotTextInTheCodePage", kCleanIni, {{"autorun.inf", "[autorun]\r\nopen=tessaline.exe\r\nlabel=\x81\r\n"}},
     0, Severity::kWarning, "is not text in code page 1252", "autorun.inf"},
    {"NoAutorun", kCleanIni, {}, 0, Severity::kNote, "starts the menu by opening tessaline.exe", "autorun.inf",
     {"autorun.inf"}},

    // Names the disc image changes: errors where a key needs them.
    {"ProgramFolderNameCutByTheImage", Replace(6, {u"Path=tools\\" + std::u16string(65, u'd') + u"\\setup.exe"}),
     {{"tools/" + std::string(65, 'd') + "/setup.exe", "MZ"}}, 6, Severity::kError,
     "is 65 characters long, and a Joliet name holds at most 64"},
    {"PictureNameCutByTheImage", Replace(2, {u"BitmapFile256=" + std::u16string(61, u'p') + u".bmp"}),
     {{std::string(61, 'p') + ".bmp", fixture::PlainBitmap(32, 32, {10, 20, 30})}}, 2, Severity::kError,
     "BitmapFile256 " + std::string(61, 'p') + ".bmp does not reach the burned disc as written"},
    {"ProgramPathLeftOutOfTheImage",
     Replace(6, {u"Path=" + std::u16string(60, u'a') + u"\\" + std::u16string(55, u'b') + u".exe"}),
     {{std::string(60, 'a') + "/" + std::string(55, 'b') + ".exe", "MZ"}}, 6, Severity::kError,
     "the path takes 240 bytes in the Joliet tree"},
    {"ProgramNameWithACharacterJolietRefuses", Replace(6, {u"Path=tools\\set;up.exe"}),
     {{"tools/set;up.exe", "MZ"}}, 6, Severity::kError, "cannot hold (;)"},
    {"AutorunProgramNameCutByTheImage", kCleanIni,
     {{"autorun.inf", "[autorun]\r\nopen=" + std::string(65, 'm') + "\r\n"}, {std::string(65, 'm'), "MZ"}}, 2,
     Severity::kError, "open=" + std::string(65, 'm') + " does not reach the burned disc", "autorun.inf"},

    // Warnings for the names nothing needs, on the file or folder itself.
    {"NameCutByTheImage", kCleanIni, {{"docs/" + std::string(62, 'n') + ".txt", "text"}}, 0, Severity::kWarning,
     "is 66 characters long", "docs\\" + std::string(62, 'n') + ".txt"},
    {"NameWithCharactersJolietRefuses", kCleanIni, {{"why?\x01\x7F.txt", "text"}}, 0, Severity::kWarning,
     "(? U+0001 U+007F)", "why?\x01\x7F.txt"},
    {"NameWithACharacterBeyondUcs2", kCleanIni, {{"smile\xF0\x9F\x98\x80.txt", "text"}}, 0, Severity::kWarning,
     "(U+1F600)", "smile\xF0\x9F\x98\x80.txt"},
    {"NameThatIsNotUtf8", kCleanIni, {{"a\xFF.txt", "text"}}, 0, Severity::kWarning, "is not UTF-8 text",
     "a\xC3\xBF.txt"},
    {"FolderLeftOutOfTheImage", kCleanIni,
     {{"docs/" + std::string(60, 'c') + "/" + std::string(60, 'd') + "/a.txt", ""}}, 0, Severity::kWarning,
     "251 bytes in the Joliet tree", "docs\\" + std::string(60, 'c') + "\\" + std::string(60, 'd')},
};

INSTANTIATE_TEST_SUITE_P(Check, FindingClass, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FindingCase>& info) { return std::string(info.param.name); });

class CheckDiscTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& file : CleanFiles()) disc.Write(file.first, file.second);
    }
    TestDisc disc;
};

TEST_F(CheckDiscTest, ACorrectDiscReportsNothing) {
    disc.WriteIni(kCleanIni);
    const std::vector<Finding> findings = Check(disc);
    EXPECT_TRUE(findings.empty()) << Listing(findings);
    EXPECT_EQ(ExitStatusOf(findings), kExitClean);
}

TEST_F(CheckDiscTest, AFileThatIsNotLittleEndianUtf16FailsToLoadWithAHint) {
    const struct {
        const char* bytes;
        size_t size;
        const char* found;
    } cases[] = {
        {"\xEF\xBB\xBF[General]\r\n", 14, "the file is UTF-8"},
        {"\xFE\xFF\0[", 4, "UTF-16 big endian"},
        {"[General]\r\n", 11, "no byte-order mark: it is ANSI or UTF-8 text"},
        {"[\0G\0]\0\r\0\n\0", 10, "UTF-16 little endian without a byte-order mark"},
        {"\0[\0G\0]\0\r\0\n", 10, "UTF-16 big endian without a byte-order mark"},
    };
    for (const auto& c : cases) {
        disc.Write("install.ini", std::string(c.bytes, c.size));
        const std::vector<Finding> findings = Check(disc);
        ASSERT_EQ(findings.size(), 1u) << Listing(findings);
        EXPECT_EQ(findings[0].line, 1);
        EXPECT_NE(findings[0].message.find("Wrong file type (Must be Little Endian Unicode)"), std::string::npos);
        EXPECT_NE(findings[0].message.find(c.found), std::string::npos) << findings[0].message;
        EXPECT_NE(findings[0].hint.find("--to-utf16"), std::string::npos);
        EXPECT_EQ(ExitStatusOf(findings), kExitErrors);
    }
}

TEST_F(CheckDiscTest, AMissingIniIsAnErrorWithoutALine) {
    const std::vector<Finding> findings = Check(disc);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].line, 0);
    EXPECT_EQ(ExitStatusOf(findings), kExitErrors);
}

TEST_F(CheckDiscTest, AShrinkingPictureMattersOnlyOnScreensThatShrinkIt) {
    disc.Write("b.bmp", fixture::TrueColorBitmap(32, 32, {1, 2, 3}));
    disc.WriteIni(Replace(2, {u"BitmapFile256=b.bmp", u"AppSize=1000,700"}));
    CheckSettings large;
    large.screens = {{1920, 1080}};
    EXPECT_TRUE(Check(disc, large).empty()) << Listing(Check(disc, large));
    CheckSettings small;
    small.screens = {{1920, 1080}, {1000, 700}};
    const std::vector<Finding> findings = Check(disc, small);
    ASSERT_EQ(findings.size(), 1u) << Listing(findings);
    EXPECT_NE(findings[0].message.find("on a 1000x700 screen"), std::string::npos) << findings[0].message;
}

TEST_F(CheckDiscTest, APictureCutShortMattersOnlyOnScreensThatShrinkIt) {
    // At its own size the system's loader takes what is there; only the
    // menu's resampling needs every pixel row.
    disc.Write("b.bmp", fixture::PlainBitmap(32, 32, {1, 2, 3}).substr(0, 14 + 40 + 4 + 32 * 10));
    disc.WriteIni(Replace(2, {u"BitmapFile256=b.bmp", u"AppSize=1000,700"}));
    CheckSettings large;
    large.screens = {{1920, 1080}};
    EXPECT_TRUE(Check(disc, large).empty()) << Listing(Check(disc, large));
    CheckSettings small;
    small.screens = {{1000, 700}};
    const std::vector<Finding> findings = Check(disc, small);
    ASSERT_EQ(findings.size(), 1u) << Listing(findings);
    EXPECT_NE(findings[0].message.find("not a whole Windows bitmap file"), std::string::npos) << findings[0].message;
    EXPECT_NE(findings[0].message.find("Incorrect bitmap format"), std::string::npos) << findings[0].message;
}

// Of the pictures over 2 MB, a 256-colour one that RLE8 would make a quarter
// smaller or more gets a note, with the bytes and the time a 16x DVD saves.
TEST_F(CheckDiscTest, ALarge256ColourPictureThatRunLengthEncodingShrinksGetsANote) {
    std::vector<fixture::PaletteEntry> palette(256, fixture::PaletteEntry{1, 2, 3});
    std::vector<uint8_t> varying(2000 * 1100);
    for (size_t k = 0; k < varying.size(); ++k) varying[k] = static_cast<uint8_t>(k * 7);
    const struct {
        const char* what;
        std::string bytes;
        std::string note;  // none: empty
    } cases[] = {
        // Rows of 2000 indices: 8 runs (16 bytes), a line end between rows,
        // the end; the same 58 bytes of headers and colours.
        {"one colour", fixture::PlainBitmap(2000, 1100, {10, 20, 30}),
         "b.bmp is 2200058 bytes; run-length encoded (RLE8), which the menu shows the same, it would be 19858 "
         "bytes: 2180200 fewer, which a 16x DVD reads in 109 ms less"},
        {"one colour, 2 MB or less", fixture::PlainBitmap(2000, 950, {10, 20, 30}), ""},
        {"indices that never repeat", fixture::PaletteBitmap(2000, 1100, 8, palette, varying), ""},
        {"true colour", fixture::TrueColorBitmap(1000, 700, {10, 20, 30}), ""},
    };
    disc.WriteIni(kCleanIni);
    for (const auto& c : cases) {
        disc.Write("b.bmp", c.bytes);
        std::vector<Finding> notes;
        for (const Finding& f : CheckDisc(disc.Folder(), CheckSettings{})) {
            if (f.message.find("RLE8") != std::string::npos) notes.push_back(f);
        }
        if (c.note.empty()) {
            EXPECT_TRUE(notes.empty()) << c.what << "\n" << Listing(notes);
            continue;
        }
        ASSERT_EQ(notes.size(), 1u) << c.what;
        EXPECT_EQ(notes[0].severity, Severity::kNote);
        EXPECT_EQ(notes[0].line, 2);
        EXPECT_EQ(notes[0].message, c.note);
        EXPECT_EQ(notes[0].hint, "save it as an RLE8 .bmp file, with ImageMagick for example: convert b.bmp -compress "
                                 "RLE BMP3:b.bmp");
    }
}

TEST_F(CheckDiscTest, ProgramsAreFoundAsWindowsFindsThem) {
    // Letter case does not matter on a disc, "." is the disc itself, and a
    // file the disc build adds later counts as there.
    disc.Write("Tools/Setup.EXE", "MZ");
    disc.Write("tessaline-check-adds.txt", "# built later\r\nbuild\\late.exe\n");
    disc.WriteIni(Replace(6, {u"Path=tools\\setup.exe", u"PreRun=BUILD\\Late.exe", u"SilentPath=."}));
    const std::vector<Finding> findings = Check(disc);
    EXPECT_TRUE(findings.empty()) << Listing(findings);
}

TEST_F(CheckDiscTest, AProgramFromTheRootIsJoinedToTheDiscFolderAndFound) {
    // D:\ and \setup.exe make D:\\setup.exe, which Windows opens.
    disc.WriteIni(Replace(6, {u"Path=\\setup.exe"}));
    const std::vector<Finding> findings = Check(disc);
    EXPECT_TRUE(findings.empty()) << Listing(findings);
}

TEST_F(CheckDiscTest, LaunchTextsAreMeasuredInTheCodePageOfTheirLanguagesSystem) {
    // 70 letters e-acute are 70 bytes in code page 1252 and 140 in UTF-8;
    // 60 Japanese characters 120 bytes in code page 932 and 180 in UTF-8.
    // The program is two names of 40 (each within a disc name's 64).
    const std::u16string accented(70, u'\u00E9');
    const std::u16string japanese(60, u'\u65E5');
    std::string accentedName;
    for (int i = 0; i < 40; ++i) accentedName += "\xC3\xA9";
    disc.Write(accentedName + "/" + accentedName + ".exe", "MZ");
    const std::u16string program = accented.substr(0, 40) + u"\\" + accented.substr(0, 40) + u".exe";
    const Lines ini = {u"[General]",         u"BitmapFile256=b.bmp", u"ButtonCount=2",
                       u"LanguageCount=2",   u"[Languages]",         u"language1=0x09,0",
                       u"language2=0x11,0",  u"[Prompt-0x09]",       u"[Copyright-0x09]",
                       u"[LangCombo-0x09]",  u"[Button1-0x09]",      u"Path=" + program,
                       u"Args=" + accented,  u"[Button2-0x09]",      u"Exit=true",
                       u"[Prompt-0x11]",     u"[Copyright-0x11]",    u"[LangCombo-0x11]",
                       u"[Button1-0x11]",    u"Path=setup.exe",      u"Args=" + japanese,
                       u"[Button2-0x11]",    u"Exit=true"};
    disc.WriteIni(ini);
    const std::vector<Finding> findings = Check(disc);
    EXPECT_TRUE(findings.empty()) << Listing(findings);
}

TEST_F(CheckDiscTest, AWorkingFolderBeyondItsRoomIsReportedAsSuch) {
    // 204 bytes of folder and 66 of the program's own folders make a working
    // folder of 270 bytes (room: 263) in a command line of 283 (room: 519).
    const std::string deep = "tools\\" + std::string(60, 'd');
    disc.Write("tools/" + std::string(60, 'd') + "/setup.exe", "MZ");
    disc.WriteIni(Replace(6, {u"Path=" + std::u16string(deep.begin(), deep.end()) + u"\\setup.exe"}));
    CheckSettings settings;
    settings.system.programFolder = "D:\\" + std::string(200, 'f') + "\\";
    const std::vector<Finding> findings = Check(disc, settings);
    ASSERT_EQ(findings.size(), 1u) << Listing(findings);
    EXPECT_EQ(findings[0].line, 6);
    EXPECT_NE(findings[0].message.find("the working folder of Path"), std::string::npos) << findings[0].message;
    EXPECT_NE(findings[0].message.find("270 bytes"), std::string::npos) << findings[0].message;
}

TEST_F(CheckDiscTest, HelpTextsAreCheckedAgainstTheCodePageOfTheirLanguagesSystem) {
    const Lines japanese = {u"[General]",     u"BitmapFile256=b.bmp",          u"ButtonCount=2",
                            u"LanguageCount=1", u"[Languages]",                u"language1=0x11,0",
                            u"[Prompt-0x11]", u"DefHelp=\u65E5\u672C\u8A9E", u"[Copyright-0x11]",
                            u"[Button1-0x11]", u"Help=\u65E5\u672C\u8A9E",     u"Exit=true",
                            u"[Button2-0x11]", u"Exit=true"};
    disc.WriteIni(japanese);
    EXPECT_TRUE(Check(disc).empty()) << Listing(Check(disc));
    // The same texts on a system chosen to be English cannot be shown.
    CheckSettings english;
    english.languageGiven = true;
    english.system.userLanguageId = 0x0409;
    const std::vector<Finding> findings = Check(disc, english);
    ASSERT_EQ(findings.size(), 2u) << Listing(findings);
    EXPECT_EQ(findings[0].line, 8);
    EXPECT_EQ(findings[1].line, 11);
}

// The command that the finding on a true-colour picture gives, run with the
// real ImageMagick, writes a picture that the menu can shrink.
TEST_F(CheckDiscTest, ThePictureFindingsCommandWritesAPictureTheMenuCanShrink) {
    if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick's convert is missing";
    const std::string inFolder = "cd '" + disc.Folder().string() + "' && ";
    ASSERT_EQ(std::system((inFolder + "convert -size 64x48 gradient:red-blue -type TrueColor BMP3:b.bmp").c_str()), 0);
    disc.WriteIni(Replace(2, {u"BitmapFile256=b.bmp", u"AppSize=1000,700"}));
    const std::vector<Finding> findings = Check(disc);
    ASSERT_EQ(findings.size(), 1u) << Listing(findings);
    const std::string& hint = findings[0].hint;
    const size_t command = hint.find("convert ");
    ASSERT_NE(command, std::string::npos) << hint;
    const std::string given = hint.substr(command, hint.find(" (or", command) - command);
    ASSERT_EQ(std::system((inFolder + given).c_str()), 0) << given;
    EXPECT_TRUE(Check(disc).empty()) << given << "\n" << Listing(Check(disc));
}

struct AutorunCase {
    const char* name;
    const char* fileName;
    std::string bytes;
    int32_t line;          // of the one finding expected; -1: none
    const char* fragment;
};

std::string Utf16Be(const std::u16string& text) {
    std::string bytes("\xFE\xFF", 2);
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit >> 8));
        bytes.push_back(static_cast<char>(unit & 0xFF));
    }
    return bytes;
}

TEST_F(CheckDiscTest, AutorunInfIsReadAsWindowsReadsIt) {
    const AutorunCase cases[] = {
        {"UTF-16 little endian", "autorun.inf", fixture::Utf16Le(u"[autorun]\r\nopen=tessaline.exe\r\n"), -1, ""},
        {"UTF-16 big endian", "autorun.inf", Utf16Be(u"[autorun]\r\nopen=tessaline.exe\r\n"), -1, ""},
        {"letter case, blanks, quotes, arguments", "AutoRun.INF",
         "[AutoRun]\r\n  OPEN = \"tessaline.exe\" /lang 0x07\r\nIcon=tessaline.exe,-3\r\n", -1, ""},
        {"quoted program with a blank", "autorun.inf", "[autorun]\r\nopen=\"my menu.exe\" -s\r\n", 2,
         "open= starts my menu.exe, not the menu"},
        {"comments and other sections", "autorun.inf",
         "; made by the disc build\r\n[other]\r\nopen=gone.exe\r\n"
         "[autorun]\r\n;open=gone.exe\r\nopen=tessaline.exe\r\n",
         -1, ""},
        {"only the first of a key", "autorun.inf", "[autorun]\r\nopen=tessaline.exe\r\nopen=gone.exe\r\n", -1, ""},
        {"only the first [autorun] section", "autorun.inf",
         "[autorun]\r\nlabel=Disc\r\n[autorun]\r\nopen=tessaline.exe\r\n", 1, "[autorun] has no open="},
        {"shellexecute= in place of open=", "autorun.inf", "[autorun]\r\nshellexecute=tessaline.exe\r\n", -1, ""},
        {"a semicolon after the start of a line is text", "autorun.inf",
         "[autorun]\r\nopen=tessaline.exe ;menu\r\n", -1, ""},
        {"findings name the file as it is called", "AUTORUN.INF", "\n\n[autorun]\nopen=gone.exe\n", 4,
         "names gone.exe, which is not on the disc"},
    };
    disc.Write("my menu.exe", "MZ");
    disc.WriteIni(kCleanIni);
    for (const AutorunCase& c : cases) {
        disc.Remove("autorun.inf");
        disc.Write(c.fileName, c.bytes);
        const std::vector<Finding> findings = Check(disc);
        disc.Remove(c.fileName);
        if (c.line < 0) {
            EXPECT_TRUE(findings.empty()) << c.name << ":\n" << Listing(findings);
            continue;
        }
        ASSERT_EQ(findings.size(), 1u) << c.name << ":\n" << Listing(findings);
        EXPECT_EQ(findings[0].file, c.fileName) << c.name;
        EXPECT_EQ(findings[0].line, c.line) << c.name;
        EXPECT_NE(findings[0].message.find(c.fragment), std::string::npos) << c.name << ": " << findings[0].message;
    }
}

TEST_F(CheckDiscTest, TheCheckWritesNoAutorunInf) {
    disc.Remove("autorun.inf");
    disc.WriteIni(kCleanIni);
    const std::vector<Finding> findings = CheckDisc(disc.Folder(), CheckSettings{});
    EXPECT_TRUE(std::any_of(findings.begin(), findings.end(),
                            [](const Finding& f) { return f.file == "autorun.inf" && f.severity == Severity::kNote; }))
        << Listing(findings);
    EXPECT_EQ(ExitStatusOf(findings), kExitClean) << Listing(findings);
    EXPECT_FALSE(disc.Exists("autorun.inf"));
}

TEST_F(CheckDiscTest, NamesAtTheImagesLimitsPass) {
    // A name of 64 characters (é is one, though two bytes in UTF-8), the
    // characters Joliet takes, and a path of 239 bytes (3 + 129 + 107).
    std::string accented;
    for (int i = 0; i < 64; ++i) accented += "\xC3\xA9";
    disc.Write("docs/" + accented, "text");
    disc.Write("docs/#$%&'()+,-=@[]^_`{}~! .txt", "text");
    const std::string folder(64, 'f');
    const std::string program(49, 'g');
    disc.Write("t/" + folder + "/" + program + ".exe", "MZ");
    disc.WriteIni(Replace(6, {u"Path=t\\" + Widen(folder) + u"\\" + Widen(program) + u".exe"}));
    const std::vector<Finding> findings = Check(disc);
    EXPECT_TRUE(findings.empty()) << Listing(findings);
}

TEST_F(CheckDiscTest, ANeededNameIsReportedOnlyAtTheKeyThatNeedsIt) {
    const std::string folder(65, 'd');
    disc.Write("tools/" + folder + "/setup.exe", "MZ");
    disc.WriteIni(Replace(6, {u"Path=tools\\" + Widen(folder) + u"\\setup.exe"}));
    const std::vector<Finding> findings = Check(disc);
    ASSERT_EQ(findings.size(), 1u) << Listing(findings);
    EXPECT_EQ(findings[0].file, kIniFileName);
    EXPECT_EQ(findings[0].line, 6);
}

TEST(FindingFormat, OtherFilesFollowInstallIniAndNotesLeaveTheStatusClean) {
    const Finding autorun{2, Severity::kError, "open= names gone.exe", "", "autorun.inf"};
    const Finding note{0, Severity::kNote, "the disc has no autorun.inf", "", "autorun.inf"};
    const Finding ini{9, Severity::kWarning, "w", ""};
    EXPECT_EQ(FormatFinding(autorun), "autorun.inf:2: error: open= names gone.exe");
    EXPECT_EQ(FormatFinding(note), "autorun.inf: note: the disc has no autorun.inf");
    const std::vector<Finding> sorted = SortedFindings({autorun, ini, note});
    ASSERT_EQ(sorted.size(), 3u);
    EXPECT_EQ(sorted[0].file, kIniFileName);
    EXPECT_EQ(sorted[1].line, 0);
    EXPECT_EQ(ExitStatusOf({note}), kExitClean);
    EXPECT_EQ(ExitStatusOf({note, ini}), kExitWarnings);
}

TEST(FindingFormat, ReadsLikeACompilersMessage) {
    EXPECT_EQ(FormatFinding(Finding{12, Severity::kWarning, "BtnRec is never read", "did you mean BtnRect?"}),
              "install.ini:12: warning: BtnRec is never read (did you mean BtnRect?)");
    EXPECT_EQ(FormatFinding(Finding{0, Severity::kError, "there is no install.ini", ""}),
              "install.ini: error: there is no install.ini");
    const std::vector<Finding> mixed = {{3, Severity::kWarning, "w", ""}, {1, Severity::kError, "e", ""}};
    const Finding note{7, Severity::kNote, "every user gets language 0x09", ""};
    EXPECT_EQ(FormatFinding(note), "install.ini:7: note: every user gets language 0x09");
    EXPECT_EQ(ExitStatusOf({note}), kExitClean);
    EXPECT_EQ(ExitStatusOf({}), kExitClean);
    EXPECT_EQ(ExitStatusOf({mixed[0]}), kExitWarnings);
    EXPECT_EQ(ExitStatusOf(mixed), kExitErrors);
    const std::vector<Finding> sorted = SortedFindings({mixed[0], mixed[1], mixed[0]});
    ASSERT_EQ(sorted.size(), 2u);
    EXPECT_EQ(sorted[0].line, 1);
}

}  // namespace
