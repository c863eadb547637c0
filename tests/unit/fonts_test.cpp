#include <gtest/gtest.h>

#include <cstring>

#include "config_fixture.h"
#include "render/fonts.h"

namespace {

using Fonts = ConfigTest;

platform::FontDescription Describe(const char16_t* value, bool* hasFace = nullptr) {
    platform::FontDescription description{};
    const bool face = DescribeFont(value, fake.defaultGuiFont, &description);
    if (hasFace != nullptr) *hasFace = face;
    return description;
}

TEST_F(Fonts, ValuesGiveSizeStyleAndFace) {
    menu.scale = 0.75f;
    platform::FontDescription d = Describe(u"13,400,0,0,MS Sans Serif");
    EXPECT_EQ(d.height, 10);
    EXPECT_EQ(d.weight, 400);
    EXPECT_EQ(d.italic, 0);
    EXPECT_STREQ(d.faceName, "MS Sans Serif");
    EXPECT_EQ(d.charSet, fake.defaultGuiFont.charSet);

    menu.scale = 0.5f;
    d = Describe(u"-11,700,1,0,Arial");
    EXPECT_EQ(d.height, -6);
    EXPECT_EQ(d.weight, 700);
    EXPECT_EQ(d.italic, 1);

    menu.scale = 1.0f;
    d = Describe(u"13,400,0,0, \t  Tahoma");
    EXPECT_STREQ(d.faceName, "Tahoma");
    d = Describe(u"13,400,Arial");
    EXPECT_EQ(d.height, 13);
    EXPECT_EQ(d.weight, 400);
    EXPECT_STREQ(d.faceName, "Arial");
    // A blank before a comma stops the numbers after the height.
    d = Describe(u"13 ,400,1,1,Arial");
    EXPECT_EQ(d.height, 13);
    EXPECT_EQ(d.weight, 0);
    EXPECT_EQ(d.italic, 0);
    EXPECT_EQ(d.underline, 0);
    EXPECT_STREQ(d.faceName, "Arial");
    d = Describe(u"13,400,257,-1,Arial");
    EXPECT_EQ(d.italic, 1) << "the low eight bits";
    EXPECT_EQ(d.underline, 255);
}

TEST_F(Fonts, ALongFaceIsCutWithinItsField) {
    const std::u16string face(40, u'F');
    const platform::FontDescription d = Describe((u"13,400,0,0," + face).c_str());
    EXPECT_EQ(std::strlen(d.faceName), 31u);
    bool hasFace = true;
    Describe(u"13", &hasFace);
    EXPECT_FALSE(hasFace);
}

// One request made at once, as after a loader run that asked for it alone.
void Make(FontRequest* request, const char16_t* value) {
    RequestFont(request, value);
    MakeRequestedFonts();
}

TEST_F(Fonts, AFaceTheSystemLacksFallsBackToTheDefaultGuiFace) {
    Make(&menu.buttonFontRequest, u"20,700,1,0,Arial");
    ASSERT_NE(menu.buttonFont, nullptr);
    const platform::FontDescription& used = FontOf(menu.buttonFont).description;
    EXPECT_STREQ(used.faceName, "MS Shell Dlg");
    EXPECT_EQ(used.height, 20);
    EXPECT_EQ(used.weight, 700);
    EXPECT_EQ(used.italic, 1);
    EXPECT_EQ(LiveFontCount(), 1u) << "the first attempt is released";

    Make(&menu.helpFontRequest, u"12,400,0,0,tahoma");
    EXPECT_STREQ(FontOf(menu.helpFont).description.faceName, "tahoma") << "case does not matter";
    EXPECT_EQ(Count(Op::CreateFontFrom), 3);
    EXPECT_FALSE(menu.buttonFontRequest.asked || menu.helpFontRequest.asked) << "the step clears what it made";
}

TEST_F(Fonts, ReplacingAFontReleasesTheOldOne) {
    Make(&menu.buttonFontRequest, u"13,400,0,0,Tahoma");
    platform::Font first = menu.buttonFont;
    Make(&menu.buttonFontRequest, u"14,400,0,0,Tahoma");
    EXPECT_TRUE(FontOf(first).released);
    EXPECT_EQ(LiveFontCount(), 1u);
    // Without a comma the button font is released and none is left.
    Make(&menu.buttonFontRequest, u"14");
    EXPECT_EQ(menu.buttonFont, nullptr);
    EXPECT_EQ(LiveFontCount(), 0u);
}

// The loader asks; the step that follows it makes only what the last key
// asked for, and a load that asks for nothing keeps the fonts there are.
TEST_F(Fonts, EachLoadMakesTheLastFontAskedForAndKeepsTheRest) {
    UseIni(u"[General]\nButtonCount=2\nLanguageCount=2\nBtnFont=13,400,0,0,Arial\nHelpFont=11,400,0,0,Tahoma\n"
           u"[Languages]\nlanguage1=0x09\nlanguage2=0x07\n"
           u"[Prompt-0x09]\nBtnFont=20,700,0,0,Tahoma\nHelpFont=12\nFont=13\nColor=1,2,3,4,5,6\n"
           u"[Prompt-0x07]\nFont=15,400,0,0,Tahoma\nColor=7,8,9\n");
    ASSERT_EQ(Load(u"0x09"), 0);
    EXPECT_EQ(FontOf(menu.buttonFont).description.height, 20) << "the language's key replaces General's";
    EXPECT_EQ(menu.helpFont, nullptr) << "a value without a face asks for no font";
    EXPECT_EQ(menu.copyrightFont, nullptr) << "nor does a copyright font without one";
    EXPECT_EQ(menu.copyrightColor, (ColorTriple{0, 0, 0})) << "whose colours are not read";
    EXPECT_EQ(Count(Op::CreateFontFrom), 1) << "no font is made only to be replaced";

    ASSERT_EQ(Load(u"0x07"), 0);
    EXPECT_EQ(FontOf(menu.copyrightFont).description.height, 15);
    // Three numbers change the deep colour only.
    EXPECT_EQ(menu.copyrightColor, (ColorTriple{7, 8, 9}));
    EXPECT_EQ(menu.copyrightColorLowDepth, (ColorTriple{0, 0, 0}));
    EXPECT_EQ(FontOf(menu.buttonFont).description.height, 13) << "General's again";
    EXPECT_EQ(FontOf(menu.helpFont).description.height, 11);
    EXPECT_EQ(LiveFontCount(), 3u);
}

}  // namespace
