#include <gtest/gtest.h>

#include <string>

#include "app/startup_rules.h"
#include "config/language_tag.h"
#include "ini_fixture.h"

namespace {

TEST(UnattendedSwitch, DashOrSlashBeforeAnSAnywhereSelectsIt) {
    for (const char* text : {"-s", "/S", "setup -Silent", "x/s", "/path/setup", "a -S", "--s"}) {
        EXPECT_TRUE(HasUnattendedSwitch(text)) << text;
    }
    for (const char* text : {"", "-x", "s", "S", "setup /", "setup -", "- s", "\\s", "/q /x"}) {
        EXPECT_FALSE(HasUnattendedSwitch(text)) << text;
    }
}

TEST(LanguageTag, HexUpperCaseWithAtLeastTwoDigits) {
    char16_t tag[7];
    const struct {
        uint32_t identifier;
        std::u16string tag;
    } cases[] = {{0x09, u"0x09"}, {7, u"0x07"}, {12, u"0x0C"}, {0x409, u"0x409"}, {0, u"0x00"}, {0x3FF, u"0x3FF"}};
    for (const auto& c : cases) {
        FormatLanguageTag(c.identifier, tag, 7);
        EXPECT_EQ(std::u16string(tag), c.tag);
    }
    // An identifier too long for a tag field is cut, never written past it.
    FormatLanguageTag(0x12345678u, tag, 7);
    EXPECT_EQ(std::u16string(tag), u"0x1234");
}

TEST(LanguageTag, TheUserTagKeepsThePrimaryLanguageOnly) {
    char16_t tag[7];
    UserLanguageTag(0x0407, tag, 7);  // German (Germany)
    EXPECT_EQ(std::u16string(tag), u"0x07");
    UserLanguageTag(0x0809, tag, 7);  // English (United Kingdom)
    EXPECT_EQ(std::u16string(tag), u"0x09");
    UserLanguageTag(0xFFFF, tag, 7);
    EXPECT_EQ(std::u16string(tag), u"0x3FF");
}

// The display's colour answer: -1 above 256 colours.
constexpr int32_t kDeep = -1;
constexpr int32_t kPalette = 256;

class BitmapNameChoice : public ::testing::Test {
protected:
    // The name taken for the General section's text, or "<error>".
    std::u16string Taken(const std::u16string& general, int32_t colors) {
        const std::string path = files.WriteIni(u"[General]\r\n" + general + u"\r\n[Next]\r\n",
                                                "bitmaps" + std::to_string(count++) + ".ini");
        UnicodeIniReader reader;
        if (!reader.Load(path.c_str())) return u"<unread>";
        const BitmapNames names = ReadBitmapNames(reader);
        const char16_t* taken = ChooseBitmapName(names, colors);
        return taken == nullptr ? u"<error>" : taken;
    }
    IniFixture files;
    int count = 0;
};

TEST_F(BitmapNameChoice, FollowsTheDisplaysColourCount) {
    const struct {
        std::u16string general;
        std::u16string deep;
        std::u16string palette;
    } rows[] = {
        {u"BitmapFile256=A\r\nBitmapFile016=B", u"A", u"B"},
        {u"BitmapFile256=A", u"A", u"A"},
        {u"BitmapFile256=A\r\nBitmapFile016=", u"A", u"<error>"},
        {u"BitmapFile016=B", u"B", u"B"},
        {u"BitmapFile256=\r\nBitmapFile016=B", u"B", u"B"},
        {u"Other=1", u"<error>", u"<error>"},
        {u"BitmapFile256=", u"<error>", u"<error>"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Taken(row.general, kDeep), row.deep) << std::string(row.general.begin(), row.general.end());
        EXPECT_EQ(Taken(row.general, kPalette), row.palette) << std::string(row.general.begin(), row.general.end());
        EXPECT_EQ(Taken(row.general, 16), row.palette);
    }
}

TEST(Scale, ShrinksTheMenuToTheWorkAreaLessItsMargin) {
    const Rect workArea{0, 0, 1024, 738};
    // 1004 / 1200 = 0.83666664 and 718 / 900 = 0.79777777: the smaller wins.
    EXPECT_EQ(ComputeScale(1.0f, workArea, u"1200,900"), 718.0f / 900.0f);
    EXPECT_FLOAT_EQ(ComputeScale(1.0f, workArea, u"1200,900"), 0.79777777f);
    // One dimension too large: that dimension's ratio.
    EXPECT_EQ(ComputeScale(1.0f, workArea, u"2008,100"), 0.5f);
    EXPECT_EQ(ComputeScale(1.0f, workArea, u"100,1436"), 0.5f);
}

TEST(Scale, NeverGrowsTheMenu) {
    const Rect workArea{0, 0, 1024, 738};
    for (const char16_t* size : {u"0,0", u"", u"640,480", u"1004,718", u"-5000,-5000", u"junk", u"640"}) {
        EXPECT_EQ(ComputeScale(1.0f, workArea, size), 1.0f);
    }
    // A scale already below the ratio stays.
    EXPECT_EQ(ComputeScale(0.25f, workArea, u"2008,100"), 0.25f);
}

TEST(Scale, OnlyTheRightAndBottomEdgesOfTheWorkAreaCount) {
    // A task bar on the left or top moves the left and top edges only.
    EXPECT_EQ(ComputeScale(1.0f, Rect{200, 60, 1024, 738}, u"1200,900"), 718.0f / 900.0f);
    EXPECT_EQ(ComputeScale(1.0f, Rect{200, 60, 1024, 738}, u"1004,718"), 1.0f);
}

TEST(Scale, AWorkAreaWithoutRoomLeavesTheScaleAlone) {
    EXPECT_EQ(ComputeScale(1.0f, Rect{0, 0, 20, 10}, u"800,600"), 1.0f);
    EXPECT_EQ(ComputeScale(1.0f, Rect{0, 0, 0, 0}, u"800,600"), 1.0f);
}

}  // namespace
