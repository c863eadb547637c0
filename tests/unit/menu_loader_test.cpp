#include <gtest/gtest.h>

#include "config/scaling.h"
#include "config_fixture.h"

namespace {

// Without offered languages, the per-language sections are named with the
// empty tag ("Prompt-", "Button1-").
using MenuLoader = ConfigTest;

TEST_F(MenuLoader, AnAlmostEmptyFileTakesEveryDefault) {
    UseIni(u"[General]\r\nButtonCount=2\r\n");
    ASSERT_EQ(Load(), 0);
    EXPECT_EQ(menu.backColor, (ColorTriple{0, 0, 0}));
    EXPECT_EQ(menu.buttonPaneColor, (ColorTriple{128, 128, 128}));
    EXPECT_EQ(menu.buttonColorBk, (ColorTriple{0, 0, 0}));
    EXPECT_EQ(menu.buttonColorHi, (ColorTriple{192, 192, 192}));
    EXPECT_EQ(menu.buttonColorLo, (ColorTriple{96, 96, 96}));
    EXPECT_EQ(menu.helpColor, (ColorTriple{128, 128, 128}));
    EXPECT_EQ(menu.bulletColorHi, (ColorTriple{240, 32, 32}));
    EXPECT_EQ(menu.bulletColorLo, (ColorTriple{240, 32, 32}));
    EXPECT_EQ(menu.copyrightColor, (ColorTriple{255, 181, 0}));
    EXPECT_EQ(menu.copyrightColorLowDepth, (ColorTriple{255, 255, 0}));
    EXPECT_FALSE(menu.edgeEnabled);
    EXPECT_FALSE(menu.buttonPane3D);
    EXPECT_EQ(std::u16string(menu.copyrightText), kBuiltInCopyright);
    EXPECT_EQ(std::u16string(menu.defaultHelp), u"");
    // The window and the picture take the picture's size; the window is centred.
    EXPECT_EQ(menu.bitmapRect, (Rect{0, 0, 640, 480}));
    EXPECT_EQ(menu.windowRect, (Rect{192, 129, 832, 609}));
    EXPECT_EQ(menu.buttonCount, 2);
    EXPECT_EQ(std::u16string(menu.buttons[1].name), u"");
    // No window yet: no title, no repaint.
    EXPECT_CALLS({}, {Op::SetWindowTitle, Op::RequestRepaint});
    ASSERT_NE(menu.copyrightFont, nullptr);
    EXPECT_STREQ(FontOf(menu.copyrightFont).description.faceName, "MS Sans Serif");
    EXPECT_EQ(menu.buttonFont, nullptr);
}

TEST_F(MenuLoader, FewerThanTwoButtonsRefuseTheConfiguration) {
    for (const char16_t* count : {u"", u"ButtonCount=1\r\n", u"ButtonCount=x\r\n", u"ButtonCount=-4\r\n"}) {
        UseIni(u"[General]\r\n" + std::u16string(count) + u"[Button1-]\r\nName=One\r\n");
        EXPECT_EQ(Load(), -1);
        EXPECT_EQ(std::u16string(menu.buttons[0].name), u"") << "buttons are not read";
    }
    UseIni(u"[General]\r\nButtonCount=2\r\n[Button1-]\r\nName=One\r\n[Button2-]\r\nName=Two\r\n");
    EXPECT_EQ(Load(), 0);
    EXPECT_EQ(std::u16string(menu.buttons[1].name), u"Two");
}

TEST_F(MenuLoader, ThirteenButtonsReadTheFirstTwelve) {
    std::u16string text = u"[General]\r\nButtonCount=13\r\n";
    for (int n = 1; n <= 13; ++n) {
        const std::string number = std::to_string(n);
        const std::u16string wide(number.begin(), number.end());
        text += u"[Button" + wide + u"-]\r\nName=B" + wide + u"\r\n";
    }
    UseIni(text);
    ASSERT_EQ(Load(), 0);
    EXPECT_EQ(menu.buttonCount, kMaxButtons);
    EXPECT_EQ(std::u16string(menu.buttons[11].name), u"B12");
}

TEST_F(MenuLoader, TheWindowSizeComesFromAppSizeOrThePicture) {
    fake.workArea = Rect{0, 0, 1024, 768};
    UseIni(u"[General]\r\nButtonCount=2\r\nAppSize=800,600\r\n");
    Load();
    EXPECT_EQ(menu.windowRect, (Rect{112, 84, 912, 684}));
    // A width alone counts as no size.
    UseIni(u"[General]\r\nButtonCount=2\r\nAppSize=640\r\n");
    menu.bitmapSize = Size{300, 200};
    Load();
    EXPECT_EQ(menu.windowRect, (Rect{362, 284, 662, 484}));
}

TEST_F(MenuLoader, CentringHalvesTowardNegativeInfinity) {
    fake.workArea = Rect{0, 0, 1024, 768};
    UseIni(u"[General]\r\nButtonCount=2\r\nAppSize=1101,767\r\n");
    Load();
    EXPECT_EQ(menu.windowRect.left, -39);  // (1024 - 1101) / 2 = -38.5
    EXPECT_EQ(menu.windowRect.top, 0);
    // A frame grows the rectangle first.
    Load(u"0x09", Rect{-3, -22, 3, 3});
    EXPECT_EQ(menu.windowRect, (Rect{-43, -23, 1064, 769}));
}

TEST_F(MenuLoader, CoordinatesAreScaledHalfAwayFromZero) {
    menu.scale = 0.75f;
    UseIni(
        u"[General]\r\nButtonCount=2\r\nHelpRect=13,13,14,-13\r\n"
        u"[Button1-]\r\nBtnRect=10,21,101,-3\r\n"
        u"[Copyright-]\r\nPosition=0x10,0x20\r\n");
    Load();
    EXPECT_EQ(menu.buttons[0].rect, (Rect{8, 16, 76, -2}));
    EXPECT_EQ(menu.helpRect, (Rect{10, 10, 11, -10}));
    EXPECT_EQ(menu.copyrightPos.x, 12);  // 0x10 * 0.75
    EXPECT_EQ(menu.copyrightPos.y, 24);
    EXPECT_EQ(menu.buttons[1].rect, (Rect{0, 0, 0, 0})) << "an empty BtnRect";
}

TEST_F(MenuLoader, ScalingSaturatesAtThe32BitLimits) {
    menu.scale = 1.0f;
    int32_t values[] = {2147483647, -2147483647 - 1, 13};
    for (int32_t& v : values) v = Scaled(v);
    EXPECT_EQ(values[0], INT32_MAX);
    EXPECT_EQ(values[1], INT32_MIN);
    EXPECT_EQ(values[2], 13);
    menu.scale = 0.5f;
    EXPECT_EQ(Scaled(-11), -6);
}

TEST_F(MenuLoader, ThePaneBevelFollowsA3dInItsValue) {
    UseIni(u"[General]\r\nButtonCount=2\r\nButtonPaneRect=10,10,200,300,3d\r\n");
    Load();
    EXPECT_TRUE(menu.buttonPane3D);
    EXPECT_EQ(menu.buttonPaneRect, (Rect{10, 10, 200, 300}));
    UseIni(u"[General]\r\nButtonPaneRect=10,10,200,300,3D\r\nButtonCount=2\r\n[Prompt-]\r\nButtonPaneRect=1,1,5,5\r\n");
    Load();
    EXPECT_FALSE(menu.buttonPane3D) << "the language's value decides";
}

TEST_F(MenuLoader, ColoursWithFewerNumbersKeepTheRest) {
    UseIni(u"[General]\r\nButtonCount=2\r\n");
    Load();
    UseIni(u"[General]\r\nButtonCount=2\r\nBtnColorHi=255,128\r\nHelpColor=300,-1,7\r\n");
    Load();
    EXPECT_EQ(menu.buttonColorHi, (ColorTriple{255, 128, 192})) << "blue from the run before";
    EXPECT_EQ(menu.helpColor, (ColorTriple{300, -1, 7}));
}

TEST_F(MenuLoader, ALanguagesPaneColourIsTheButtonBackground) {
    UseIni(
        u"[General]\r\nButtonCount=2\r\nButtonPaneColor=9,9,9\r\nBtnColorBk=8,8,8\r\n"
        u"[Prompt-]\r\nButtonPaneColor=1,2,3\r\nHelpColor=10,20,30\r\n");
    Load();
    EXPECT_EQ(menu.buttonColorBk, (ColorTriple{1, 2, 3}));
    EXPECT_EQ(menu.buttonPaneColor, (ColorTriple{9, 9, 9}));
    EXPECT_EQ(menu.helpColor, (ColorTriple{10, 20, 30}));
}

TEST_F(MenuLoader, ExitIsSetByAFirstLetterT) {
    std::u16string text = u"[General]\r\nButtonCount=8\r\n";
    const char16_t* values[] = {u"true", u"True", u"t", u"yes", u"1", u"false", u"", nullptr};
    for (int n = 0; n < 8; ++n) {
        text += u"[Button" + std::u16string(1, static_cast<char16_t>(u'1' + n)) + u"-]\r\n";
        if (values[n] != nullptr) text += u"Exit=" + std::u16string(values[n]) + u"\r\n";
    }
    UseIni(text);
    Load();
    const bool expected[] = {true, true, true, false, false, false, false, false};
    for (int n = 0; n < 8; ++n) EXPECT_EQ(menu.buttons[n].exitAfter, expected[n]) << n;
}

TEST_F(MenuLoader, EachModeReadsOnlyItsOwnProgramKeys) {
    const std::u16string text =
        u"[General]\r\nButtonCount=2\r\n"
        u"[Button1-]\r\nPath=setup.exe\r\nArgs=/a\r\nPreRun=pre.exe\r\nPreArgs=/p\r\nPreCond=nt,500,0\r\n"
        u"[Button2-]\r\nSilentArgs=/quiet\r\n";
    UseIni(text);
    Load();
    EXPECT_EQ(std::u16string(menu.buttons[0].path), u"setup.exe");
    EXPECT_EQ(std::u16string(menu.buttons[0].args), u"/a");
    EXPECT_EQ(std::u16string(menu.buttons[0].preCond), u"nt,500,0");
    EXPECT_EQ(std::u16string(menu.buttons[1].args), u"");
    menu.unattended = true;
    Load();
    EXPECT_EQ(std::u16string(menu.buttons[0].path), u"") << "no fallback to Path";
    EXPECT_EQ(std::u16string(menu.buttons[0].args), u"");
    EXPECT_EQ(std::u16string(menu.buttons[0].preRun), u"pre.exe");
    EXPECT_EQ(std::u16string(menu.buttons[1].path), u"");
    EXPECT_EQ(std::u16string(menu.buttons[1].args), u"/quiet");
}

TEST_F(MenuLoader, ALanguagesOverridesDoNotSurviveIntoAnotherLanguage) {
    fake.installedLocales = {"00000409", "00000407"};
    UseIni(
        u"[General]\r\nButtonCount=2\r\nLanguageCount=2\r\nHelpRect=1,2,3,4\r\nBackColor=5,5,5\r\n"
        u"[Languages]\r\nlanguage1=0x09,0\r\nlanguage2=0x07,0\r\n"
        u"[Prompt-0x07]\r\nHelpRect=,9\r\nBackColor=7,7,7\r\nAppName=Menü\r\nBtnFont=20,700,0,0,Tahoma\r\n"
        u"HelpFont=12,400,0,0,Tahoma\r\nDefHelp=Hilfe\r\n"
        u"[Copyright-0x07]\r\nName=Kopie\r\n");
    Load(u"0x07");
    // HelpRect of the language is read over General's value, not cleared first.
    EXPECT_EQ(menu.helpRect, (Rect{1, 2, 3, 4}));
    EXPECT_EQ(menu.backColor, (ColorTriple{7, 7, 7}));
    EXPECT_EQ(std::u16string(menu.defaultHelp), u"Hilfe");
    EXPECT_EQ(std::u16string(menu.copyrightText), u"Kopie");
    EXPECT_EQ(std::u16string(menu.title), u"Menü");
    platform::Font buttonFont = menu.buttonFont;
    ASSERT_NE(buttonFont, nullptr);

    Load(u"0x09");
    EXPECT_EQ(menu.backColor, (ColorTriple{5, 5, 5}));
    EXPECT_EQ(std::u16string(menu.defaultHelp), u"");
    EXPECT_EQ(std::u16string(menu.copyrightText), kBuiltInCopyright);
    // No AppName leaves the window's title as it is; the button and help
    // fonts are only ever set, never reset.
    EXPECT_EQ(std::u16string(menu.title), u"");
    EXPECT_EQ(menu.buttonFont, buttonFont);
    EXPECT_FALSE(FontOf(buttonFont).released);
    EXPECT_NE(menu.helpFont, nullptr);
    EXPECT_EQ(Count(Op::SetWindowTitle) + Count(Op::RequestRepaint), 0) << "the loader touches no window";
}

// The font step after a run checks the faces of the fonts the run asked for
// last (the language's, not General's it replaced) through one screen
// context, which it gives back at the end.
TEST_F(MenuLoader, TheFaceChecksOfARunShareOneScreenContext) {
    UseIni(
        u"[General]\r\nButtonCount=2\r\nBtnFont=20,700,0,0,Tahoma\r\nHelpFont=12,400,0,0,Tahoma\r\n"
        u"[Prompt-]\r\nBtnFont=22,700,0,0,Tahoma\r\nHelpFont=14,400,0,0,Nowhere\r\n");
    ASSERT_EQ(Load(), 0);
    EXPECT_CALLS({{Op::OpenFaceCheckContext},
                  {Op::FaceInUse},
                  {Op::FaceInUse},
                  {Op::FaceInUse},
                  {Op::CloseFaceCheckContext}},
                 {Op::OpenFaceCheckContext, Op::FaceInUse, Op::CloseFaceCheckContext});
}

TEST_F(MenuLoader, AnOverriddenHelpRectGoesBackToGeneralInALanguageWithoutOne) {
    fake.installedLocales = {"00000409", "00000407"};
    UseIni(
        u"[General]\r\nButtonCount=2\r\nLanguageCount=2\r\nHelpRect=1,2,3,4\r\n"
        u"[Languages]\r\nlanguage1=0x09,0\r\nlanguage2=0x07,0\r\n"
        u"[Prompt-0x07]\r\nHelpRect=10,20,30,40\r\n");
    Load(u"0x07");
    EXPECT_EQ(menu.helpRect, (Rect{10, 20, 30, 40}));
    Load(u"0x09");
    EXPECT_EQ(menu.helpRect, (Rect{1, 2, 3, 4}));
}

// The loader only reads the title; a language switch sets it on the window.
TEST_F(MenuLoader, TheTitleIsTheLastAppNameRead) {
    UseIni(u"[General]\r\nButtonCount=2\r\nAppName=Setup\r\n[Prompt-]\r\nAppName=English Setup\r\n");
    menu.mainWindow = FakeWindow(1);
    Load();
    EXPECT_EQ(std::u16string(menu.title), u"English Setup");
    EXPECT_CALLS({}, {Op::SetWindowTitle, Op::RequestRepaint});
}

TEST_F(MenuLoader, TheEdgeIsOnOnlyWithAValue) {
    UseIni(u"[General]\r\nButtonCount=2\r\nEdge=1,2,3\r\n");
    Load();
    EXPECT_TRUE(menu.edgeEnabled);
    EXPECT_EQ(menu.edgeColor, (ColorTriple{1, 2, 3}));
    UseIni(u"[General]\r\nButtonCount=2\r\nEdge=\r\n");
    Load();
    EXPECT_FALSE(menu.edgeEnabled);
}

}  // namespace
