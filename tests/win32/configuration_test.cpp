// The configuration's fonts, locale test and a language switch's window calls
// through the real system under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/language_list.h"
#include "config/ini_reader.h"
#include "config/language_selection.h"
#include "config/menu_loader.h"
#include "config/menu_model.h"
#include "render/fonts.h"
#include "support/fixture_bytes.h"
#include "support/temp_folder.h"

namespace {

LOGFONTA DescriptionOf(platform::Font font) {
    LOGFONTA description = {};
    GetObjectA(reinterpret_cast<HFONT>(font), sizeof description, &description);
    return description;
}

std::string DefaultGuiFace() {
    LOGFONTA description = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
    return description.lfFaceName;
}

class Configuration : public ::testing::Test {
protected:
    void SetUp() override { menu = Menu{}; }
    void TearDown() override {
        for (platform::Font* font : {&menu.buttonFont, &menu.helpFont, &menu.copyrightFont}) {
            if (*font != nullptr) DeleteObject(reinterpret_cast<HFONT>(*font));
        }
        iniReader.Clear();
    }
};

TEST_F(Configuration, AFaceTheSystemHasIsUsed) {
    menu.scale = 0.75f;
    RequestFont(&menu.buttonFontRequest, u"20,700,1,0,Tahoma");
    MakeRequestedFonts();
    ASSERT_NE(menu.buttonFont, nullptr);
    const LOGFONTA font = DescriptionOf(menu.buttonFont);
    EXPECT_STREQ(font.lfFaceName, "Tahoma");
    EXPECT_EQ(font.lfHeight, 15);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfItalic, 1);
}

TEST_F(Configuration, AFaceTheSystemLacksFallsBackToTheDefaultGuiFace) {
    RequestFont(&menu.helpFontRequest, u"-14,600,0,1,No Such Face Anywhere");
    MakeRequestedFonts();
    ASSERT_NE(menu.helpFont, nullptr);
    const LOGFONTA font = DescriptionOf(menu.helpFont);
    EXPECT_EQ(std::string(font.lfFaceName), DefaultGuiFace());
    EXPECT_EQ(font.lfHeight, -14);
    EXPECT_EQ(font.lfWeight, 600);
    EXPECT_EQ(font.lfUnderline, 1);
}

// The face in use is compared byte for byte with only A-Z folded. The
// system's own comparison passes more: it ignores the soft hyphen (0xAD), so
// it would take Liberation Sans, which Wine puts in the place of an unknown
// face, for the face asked for here.
TEST_F(Configuration, AFaceIsTakenWhenItsNameDiffersOnlyInTheCaseOfAToZ) {
    const struct {
        const char16_t* value;
        std::string face;  // of the font made; empty: the default GUI face
    } cases[] = {{u"13,400,0,0,tAHOMA", "tAHOMA"}, {u"13,400,0,0,Liberation Sans\u00AD", ""}};
    for (const auto& c : cases) {
        RequestFont(&menu.buttonFontRequest, c.value);
        MakeRequestedFonts();
        ASSERT_NE(menu.buttonFont, nullptr);
        EXPECT_EQ(std::string(DescriptionOf(menu.buttonFont).lfFaceName), c.face.empty() ? DefaultGuiFace() : c.face)
            << c.face;
    }
}

TEST_F(Configuration, InstalledLocalesAreFoundByPrimaryLanguage) {
    EXPECT_TRUE(IsLanguageInstalled(0x09));
    EXPECT_TRUE(IsLanguageInstalled(0x0407));
    EXPECT_TRUE(IsLanguageInstalled(0x0411));
    EXPECT_FALSE(IsLanguageInstalled(0x3FE));
}

TEST_F(Configuration, ALanguageSwitchTitlesAndCentresARealWindow) {
    TempFolder folder;
    const std::string path = folder.Write(
        "install.ini", fixture::Utf16Le(u"[General]\r\nButtonCount=2\r\nAppName=Setup \u00C9t\u00E9\r\nAppSize=400,300\r\n"
                                        u"LanguageCount=1\r\n[Languages]\r\nlanguage1=0x09\r\n"));
    ASSERT_TRUE(iniReader.Load(path.c_str()));
    char16_t tag[kLanguageTagCapacity] = u"0x09";
    ASSERT_EQ(LoadMenuConfiguration(tag), 0);
    const DWORD style = WS_CAPTION | WS_SYSMENU;
    menu.mainWindow = reinterpret_cast<platform::Window>(
        CreateWindowExA(0, "STATIC", "before", style, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    ASSERT_NE(menu.mainWindow, nullptr);

    ASSERT_TRUE(SelectLanguage(nullptr, 0, false));

    char title[64] = {};
    GetWindowTextA(reinterpret_cast<HWND>(menu.mainWindow), title, sizeof title);
    EXPECT_STREQ(title, "Setup \xC9t\xE9");

    RECT framed = {0, 0, 400, 300};
    AdjustWindowRectEx(&framed, style, FALSE, 0);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const LONG dx = (work.right - framed.right) >> 1;
    const LONG dy = (work.bottom - framed.bottom) >> 1;
    EXPECT_EQ(menu.windowRect.left, framed.left + dx);
    EXPECT_EQ(menu.windowRect.top, framed.top + dy);
    EXPECT_EQ(menu.windowRect.right - menu.windowRect.left, framed.right - framed.left);
    DestroyWindow(reinterpret_cast<HWND>(menu.mainWindow));
}

}  // namespace
