// Numbers at the ends of the 32-bit range, as a hostile install.ini can set
// them: every result is defined (the sanitizers of this build stop on any
// overflow), and sizes and positions are held at the range's ends.
#include <gtest/gtest.h>

#include "app/selection.h"
#include "app/startup_rules.h"
#include "config_fixture.h"
#include "render/menu_painting.h"

namespace {

constexpr int32_t kMax = INT32_MAX;
constexpr int32_t kMin = INT32_MIN;
int32_t launched = -1;

using Limits = ConfigTest;

// Found by the parsers fuzz target: a work area edge at the bottom of the
// range overflowed when the margin was taken off it.
TEST(ScaleAtTheLimits, AWorkAreaEdgeAtEitherEndGivesADefinedScale) {
    EXPECT_EQ(ComputeScale(1.0f, Rect{0, 0, kMin, 5}, u"640,480"), 1.0f) << "no room: no ratio";
    EXPECT_EQ(ComputeScale(1.0f, Rect{0, 0, kMax, kMax}, u"2147483647,2147483647"), 1.0f);
    const float tiny = ComputeScale(1.0f, Rect{0, 0, 1024, 768}, u"2147483647,2147483647");
    EXPECT_GT(tiny, 0.0f);
    EXPECT_EQ(tiny, static_cast<float>(748.0 / 2147483647.0));
    EXPECT_EQ(ComputeScale(1.0f, Rect{0, 0, 1024, 768}, u"100000,100000"), static_cast<float>(748.0 / 100000.0));
}

TEST_F(Limits, AHugeAppSizeIsScaledAndCentredWithinTheRange) {
    fake.workArea = Rect{0, 0, 1024, 768};
    UseIni(u"[General]\r\nButtonCount=2\r\nAppSize=100000,100000\r\n");
    menu.scale = ComputeScale(1.0f, fake.workArea, u"100000,100000");
    ASSERT_EQ(Load(), 0);
    // 100000 * 0.00748 rounds to 748: the window fills the height less the margin.
    EXPECT_EQ(menu.windowRect, (Rect{138, 10, 886, 758}));

    // Unscaled, the extreme sizes still centre: the shift is formed in 64 bits.
    menu.scale = 1.0f;
    UseIni(u"[General]\r\nButtonCount=2\r\nAppSize=2147483647,-2147483648\r\n");
    ASSERT_EQ(Load(), 0);
    EXPECT_EQ(menu.windowRect, (Rect{-1073741312, 1073742208, 1073742335, -1073741440}));
}

TEST_F(Limits, ColoursAtTheEndsOfTheRangeDrawTheirLowBytes) {
    UseIni(u"[General]\r\nButtonCount=2\r\nBackColor=-2147483648,2147483647,-1\r\n"
           u"Edge=4294967296,-2147483649,300\r\n");
    ASSERT_EQ(Load(), 0);
    EXPECT_EQ(menu.backColor, (ColorTriple{kMin, kMax, -1}));
    EXPECT_EQ(ToColorValue(menu.backColor), 0x00FFFF00u);
    // Numbers beyond 32 bits wrap in the scanner: 2^32 reads 0, -2^31 - 1 reads 2^31 - 1.
    EXPECT_EQ(ToColorValue(menu.edgeColor), 0x002CFF00u);
}

TEST_F(Limits, ButtonCountsBeyondTheTableAreHeldToIt) {
    const struct {
        const char16_t* count;
        int32_t result;
        int32_t buttonCount;
    } cases[] = {{u"2147483647", 0, kMaxButtons}, {u"99999999999", 0, kMaxButtons},
                 {u"-5", -1, 0},                   {u"-2147483648", -1, 0}};
    for (const auto& c : cases) {
        UseIni(u"[General]\r\nButtonCount=" + std::u16string(c.count) + u"\r\n");
        EXPECT_EQ(Load(), c.result) << "ButtonCount=" << std::string(c.count, c.count + 11);
        EXPECT_EQ(menu.buttonCount, c.buttonCount);
    }
}

TEST_F(Limits, TheLanguageListKeepsItsHugeSizeWhileItsPlaceIsScaled) {
    menu.scale = 0.5f;
    UseIni(u"[General]\r\nButtonCount=2\r\nLanguageCount=2\r\n[Languages]\r\nlanguage1=0x09\r\nlanguage2=0x07\r\n"
           u"[LangCombo-0x09]\r\nBtnRect=-2147483648,2147483647,2147483647,-2147483648\r\n");
    ASSERT_EQ(Load(), 0);
    // Left and top halve; the size (2^32 - 1 across, -(2^32 - 1) down) reaches past the range.
    EXPECT_EQ(menu.languageBoxRect, (Rect{-1073741824, 1073741824, kMax, kMin}));
}

// Off-screen picture and drawing for buttons as wide as the range allows.
class PaintingAtTheLimits : public ::testing::Test {
protected:
    void SetUp() override {
        menu = Menu{};
        ResetPlatformDouble();
        menu.mainWindow = FakeWindow(1);
    }
};

TEST_F(PaintingAtTheLimits, TheButtonPictureSizeIsHeldAtTheLargestWidth) {
    menu.buttonCount = 3;
    menu.buttons[0].rect = Rect{kMin, kMin, kMax, kMax};
    menu.buttons[1].rect = Rect{0, 0, kMax, 10};  // right - left + 1 is 2^31
    menu.buttons[2].rect = Rect{kMax, kMax, kMin, kMin};
    const Size size = ButtonPictureSize();
    EXPECT_EQ(size.width, kMax);
    EXPECT_EQ(size.height, kMax);
}

TEST_F(PaintingAtTheLimits, AButtonAsWideAsTheRangeIsCopiedWithItsHeldSize) {
    menu.buttonCount = 2;
    menu.buttons[0].rect = Rect{kMin, 5, kMax, 25};
    menu.buttons[1].rect = Rect{kMax, kMax, kMin, kMin};  // inside out: nothing to show
    DrawButtons(nullptr);
    EXPECT_CALLS({{Op::CopyBlock, {}, {kMin, 5, kMax, 20, 0, 0}}}, {Op::CopyBlock});
    EXPECT_EQ(OpenObjects(), 0u);
}

TEST_F(PaintingAtTheLimits, ABevelAtTheEdgesOfTheRangeStaysOnThem) {
    DrawBevel(nullptr, Rect{kMin, kMin, kMin, kMin}, 0x808080, false);
    const std::vector<Call> lines = TakeCalls({Op::DrawLineTo});
    ASSERT_EQ(lines.size(), 4u);
    // Every corner is held at the bottom of the range rather than wrapping to its top.
    for (const Call& line : lines) {
        EXPECT_EQ(line.numbers[2], kMin);
        EXPECT_EQ(line.numbers[3], kMin);
    }
}

TEST_F(PaintingAtTheLimits, AWindowAsWideAsTheRangeFillsItsHeldClientArea) {
    menu.windowRect = Rect{kMin, kMax, kMax, kMin};
    menu.edgeEnabled = true;
    PaintMenuWindow(menu.mainWindow);
    const std::vector<Call> fills = TakeCalls({Op::FillRectangle});
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills[0].numbers, (std::vector<int64_t>{0, 0, kMax, kMin, 0}));
    EXPECT_EQ(OpenObjects(), 0u);
    EXPECT_EQ(Count(Op::RestoreContext), Count(Op::SaveContext));
}

TEST(HitTestsAtTheLimits, TheWholeRangeHoldsEveryPointAndAnInsideOutRectangleNone) {
    menu = Menu{};
    ResetPlatformDouble();
    menu.buttonCount = 2;
    menu.buttons[0].rect = Rect{kMax, kMax, kMin, kMin};
    menu.buttons[1].rect = Rect{kMin, kMin, kMax, kMax};
    for (const Point p : {Point{-32768, -32768}, Point{32767, 32767}, Point{0, 0}}) {
        OnPointerMove(p.x, p.y);
        EXPECT_EQ(menu.selectedIndex, 1) << p.x << "," << p.y;
        OnPointerPress();
        launched = -1;
        OnPointerRelease(p.x, p.y, [](int32_t index) { launched = index; });
        EXPECT_EQ(launched, 1);
    }
}

}  // namespace
