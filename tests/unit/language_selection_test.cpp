#include <gtest/gtest.h>

#include "app/language_list.h"
#include "config/language_selection.h"
#include "config_fixture.h"
#include "platform/messages.h"

namespace {

TEST(LanguageDisplayName, InstalledNamesComeBeforeTheLastComma) {
    const struct {
        const char16_t* value;
        bool installed;
        const char16_t* shown;
    } rows[] = {
        {u"Deutsch,German", true, u"Deutsch"}, {u"Deutsch,German", false, u"German"},
        {u"English", true, u"English"},        {u"English", false, u"English"},
        {u"a,b,c", true, u"a,b"},              {u"a,b,c", false, u"c"},
        {u"", true, u""},                      {u"", false, u""},
    };
    for (const auto& row : rows) {
        char16_t name[kLanguageNameCapacity];
        LanguageDisplayName(row.value, row.installed, name, kLanguageNameCapacity);
        EXPECT_EQ(std::u16string(name), row.shown);
    }
}

const std::vector<Op> kListEntries = {Op::ListReset, Op::ListAdd, Op::ListSelect};

class Languages : public ConfigTest {
protected:
    // Offers the languages (values of "language<n>") with names in an English list section.
    void Offer(const std::vector<std::u16string>& identifiers, const std::u16string& more = u"") {
        std::u16string text = u"[General]\r\nButtonCount=2\r\nLanguageCount=" +
                              std::u16string(1, static_cast<char16_t>(u'0' + identifiers.size())) +
                              u"\r\n[Languages]\r\n";
        for (size_t n = 0; n < identifiers.size(); ++n) {
            text += u"language" + std::u16string(1, static_cast<char16_t>(u'1' + n)) + u"=" + identifiers[n] + u"\r\n";
        }
        text += u"[LangCombo-0x09]\r\n0x09=English,English\r\n0x07=Deutsch,German\r\n0x0C=Fran\u00E7ais,French\r\n"
                u"0x11=Nihongo,Japanese\r\nBtnRect=400,20,560,120\r\n";
        UseIni(text + more);
    }
};

TEST_F(Languages, TheUsersLanguageIsTheDefaultWhereverItStands) {
    fake.installedLocales = {"00000409", "00000407", "0000040c", "00000411"};
    Offer({u"0x07,0", u"0x0C,0", u"0x09,0", u"0x11,0"});
    Load(u"0x09");
    EXPECT_EQ(menu.languageCount, 4);
    EXPECT_EQ(menu.languageIndex, 2);
    EXPECT_EQ(lastTag, u"0x09");
    EXPECT_EQ(std::u16string(menu.languageTags[3]), u"0x11");
    EXPECT_EQ(std::u16string(menu.languageNames[1]), u"Fran\u00E7ais");
}

TEST_F(Languages, WithoutTheUsersLanguageTheFirstOneIsUsed) {
    fake.userDefaultLanguageId = 0x0419;  // Russian
    fake.installedLocales = {"00000419", "00000407"};
    Offer({u"0x07,0", u"0x09,0"},
          u"[LangCombo-0x07]\r\n0x07=Deutsch,Deutsch\r\n0x09=English,Englisch\r\n[Prompt-0x07]\r\nDefHelp=Hallo\r\n");
    Load(u"0x19");
    EXPECT_EQ(menu.languageIndex, 0);
    EXPECT_EQ(lastTag, u"0x07");
    EXPECT_EQ(std::u16string(menu.defaultHelp), u"Hallo");
    // Names come from the list section of the tag the run began with: there is none for 0x19.
    EXPECT_EQ(std::u16string(menu.languageNames[0]), u"");
    // English is not installed here: the second variant is shown.
    Load(u"0x07");
    EXPECT_EQ(std::u16string(menu.languageNames[1]), u"Englisch");
    EXPECT_EQ(lastTag, u"0x07");
}

TEST_F(Languages, AChosenLanguageIsReadEvenWhenTheUsersIsNotOffered) {
    fake.userDefaultLanguageId = 0x0419;
    fake.installedLocales = {"00000407", "00000409"};
    Offer({u"0x07,0", u"0x09,0"}, u"[Prompt-0x09]\r\nDefHelp=Hello\r\n");
    Load(u"0x09");
    EXPECT_EQ(lastTag, u"0x09") << "an offered tag is kept";
    EXPECT_EQ(std::u16string(menu.defaultHelp), u"Hello");
}

TEST_F(Languages, EachOfferedLanguageIsInstalledByAnyLocaleOfItsPrimaryLanguage) {
    // Only regional locales: German of Austria (0x0C07) and Japanese; no French.
    fake.installedLocales = {"00000c07", "00000411"};
    Offer({u"0x09,0", u"0x07,0", u"0x0C,0", u"0x11,0"});
    Load(u"0x09");
    EXPECT_EQ(std::u16string(menu.languageNames[1]), u"Deutsch");
    EXPECT_EQ(std::u16string(menu.languageNames[2]), u"French");
    EXPECT_EQ(std::u16string(menu.languageNames[3]), u"Nihongo");
}

TEST_F(Languages, IdentifiersAreReadLikePercentI) {
    fake.userDefaultLanguageId = 0x0409;
    fake.installedLocales = {"00000409"};
    Offer({u"0x409,0", u"011,0", u"junk", u"7"});
    Load(u"0x09");
    EXPECT_EQ(std::u16string(menu.languageTags[0]), u"0x409");
    EXPECT_EQ(std::u16string(menu.languageTags[1]), u"0x09");
    EXPECT_EQ(std::u16string(menu.languageTags[2]), u"0x00");
    EXPECT_EQ(std::u16string(menu.languageTags[3]), u"0x07");
    // 0x409 never matches the user's primary language; 011 (octal 9) does.
    EXPECT_EQ(menu.languageIndex, 1);
    // The installed test of 0x409 uses its primary language 0x09.
    EXPECT_TRUE(IsLanguageInstalled(0x409));
    EXPECT_FALSE(IsLanguageInstalled(0x07));
}

TEST_F(Languages, ElevenLanguagesOfferTheFirstTen) {
    std::u16string text = u"[General]\r\nButtonCount=2\r\nLanguageCount=11\r\n[Languages]\r\n";
    for (int n = 1; n <= 11; ++n) {
        const std::string line = "language" + std::to_string(n) + "=" + std::to_string(n) + ",0\r\n";
        text += std::u16string(line.begin(), line.end());
    }
    UseIni(text);
    Load(u"0x09");
    EXPECT_EQ(menu.languageCount, kMaxLanguages);
    EXPECT_EQ(std::u16string(menu.languageTags[9]), u"0x0A");
    EXPECT_EQ(menu.languageIndex, 8);
}

TEST_F(Languages, NoLanguagesNameTheSectionsWithTheEmptyTag) {
    UseIni(u"[General]\r\nButtonCount=2\r\n[Prompt-]\r\nDefHelp=No language\r\n");
    Load(u"0x09");
    EXPECT_EQ(menu.languageCount, 0);
    EXPECT_EQ(lastTag, u"");
    EXPECT_EQ(std::u16string(menu.defaultHelp), u"No language");
    EXPECT_TRUE(SelectLanguage(nullptr, menu.languageIndex, true));
    EXPECT_CALLS({}, {Op::ShowMessageBox});
}

TEST_F(Languages, TheListKeepsItsSizeAndMovesWithTheScale) {
    menu.scale = 0.5f;
    Offer({u"0x09,0", u"0x07,0"});
    Load(u"0x09");
    EXPECT_EQ(menu.languageBoxRect, (Rect{200, 10, 360, 110}));
}

TEST_F(Languages, ChoosingAnInstalledLanguageReloadsInIt) {
    fake.installedLocales = {"00000409", "00000407"};
    Offer({u"0x09,0", u"0x07,0"}, u"[Prompt-0x07]\r\nDefHelp=Hallo\r\nAppName=Willkommen\r\n"
                                   u"[LangCombo-0x07]\r\n0x09=Englisch,English\r\n0x07=Deutsch,German\r\n");
    Load(u"0x09");
    menu.mainWindow = FakeWindow(1);
    TakeCalls();
    CreateLanguageBox(menu.mainWindow, nullptr);
    EXPECT_CALLS({{Op::ListAdd, {"English"}, {}, menu.languageBox},
                  {Op::ListAdd, {"Deutsch"}, {}, menu.languageBox},
                  {Op::ListSelect, {}, {0}, menu.languageBox}},
                 kListEntries);

    fake.listSelection = 1;
    OnLanguageChosen(menu.languageBox);
    EXPECT_EQ(menu.languageIndex, 1);
    EXPECT_EQ(std::u16string(menu.defaultHelp), u"Hallo");
    // The list is filled afresh in the new language, the window titled and
    // repainted, the choice kept.
    EXPECT_CALLS({{Op::ListReset},
                  {Op::ListAdd, {"Englisch"}},
                  {Op::ListAdd, {"Deutsch"}},
                  {Op::SetWindowTitle, {"Willkommen"}, {}, menu.mainWindow},
                  {Op::RequestRepaint, {}, {}, menu.mainWindow},
                  {Op::ListSelect, {}, {1}}},
                 {Op::ListReset, Op::ListAdd, Op::ListSelect, Op::SetWindowTitle, Op::RequestRepaint,
                  Op::ShowMessageBox});
}

TEST_F(Languages, AnUnusableChoiceIsRefusedInTheUsersOwnWords) {
    fake.userDefaultLanguageId = 0x0407;
    fake.installedLocales = {"00000407"};
    Offer({u"0x07,0", u"0x11,0"},
          u"[LangCombo-0x07]\r\n0x07=Deutsch,Deutsch\r\n0x11=Nihongo,Japanisch\r\nBtnRect=1,1,9,9\r\n"
          u"ErrTitle=Sprache fehlt\r\n");
    Load(u"0x07");
    menu.mainWindow = FakeWindow(1);
    CreateLanguageBox(menu.mainWindow, nullptr);
    TakeCalls();
    fake.listSelection = 1;
    OnLanguageChosen(menu.languageBox);

    // Back to the language in use, the focus on the list.
    EXPECT_CALLS({{Op::ShowMessageBox,
                   {"The requested language is not supported on this system", "Sprache fehlt"},
                   {0x30},
                   menu.languageBox},
                  {Op::SetKeyboardFocus, {}, {}, menu.languageBox},
                  {Op::ListSelect, {}, {0}, menu.languageBox}},
                 {Op::ShowMessageBox, Op::SetKeyboardFocus, Op::ListSelect, Op::RequestRepaint});
    EXPECT_EQ(menu.languageIndex, 0);
}

TEST_F(Languages, AnUninstalledDefaultEndsStartUpWithTheFatalText) {
    fake.userDefaultLanguageId = 0x0411;
    fake.installedLocales = {"00000409"};
    Offer({u"0x11,0"});
    Load(u"0x11");
    EXPECT_FALSE(SelectLanguage(nullptr, menu.languageIndex, true));
    EXPECT_CALLS({{Op::ShowMessageBox,
                   {"This program cannot run because the requested\nlanguage is not supported on this system",
                    "Unsupported Language"},
                   {0x30},
                   nullptr}},
                 {Op::ShowMessageBox});
}

TEST_F(Languages, TheListsKeysMoveToTheButtonsOrEndTheMenu) {
    Offer({u"0x09,0", u"0x07,0"});
    Load(u"0x09");
    menu.buttonCount = 4;
    menu.mainWindow = FakeWindow(1);
    CreateLanguageBox(menu.mainWindow, nullptr);

    TakeCalls();
    LanguageBoxProc(menu.languageBox, msg::kKeyDown, key::kTab, 0);
    EXPECT_EQ(menu.selectedIndex, 0);
    fake.shiftHeld = true;
    LanguageBoxProc(menu.languageBox, msg::kKeyDown, key::kTab, 0);
    EXPECT_EQ(menu.selectedIndex, 3);
    LanguageBoxProc(menu.languageBox, msg::kKeyDown, key::kEscape, 0);
    // The focus goes to the menu, assistive tools hear where the highlight
    // went, and every message goes on to the list's own procedure.
    const std::vector<Op> seen = {Op::SetKeyboardFocus, Op::RaiseAccessibleEvent, Op::PostQuitRequest,
                                  Op::CallNativeProcedure};
    EXPECT_CALLS({{Op::SetKeyboardFocus, {}, {}, menu.mainWindow},
                  {Op::RaiseAccessibleEvent, {}, {accessible::kEventFocus, 1}, menu.mainWindow},
                  {Op::CallNativeProcedure, {}, {msg::kKeyDown, key::kTab, 0}, menu.languageBox},
                  {Op::SetKeyboardFocus, {}, {}, menu.mainWindow},
                  {Op::RaiseAccessibleEvent, {}, {accessible::kEventFocus, 4}},
                  {Op::CallNativeProcedure, {}, {msg::kKeyDown, key::kTab, 0}},
                  {Op::PostQuitRequest},
                  {Op::CallNativeProcedure, {}, {msg::kKeyDown, key::kEscape, 0}}},
                 seen);
}

}  // namespace
