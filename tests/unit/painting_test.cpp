#include <gtest/gtest.h>

#include "config/menu_model.h"
#include "config/wide_text.h"
#include "render/menu_painting.h"
#include "support/expect_calls.h"

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | (g << 8) | (b << 16);
}

using Numbers = std::vector<int64_t>;

class Painting : public ::testing::Test {
protected:
    void SetUp() override {
        menu = Menu{};
        ResetPlatformDouble();
        menu.mainWindow = FakeWindow(1);
    }
    // Every context, brush, pen and picture released; every saved state restored.
    void ExpectNothingLeft() {
        EXPECT_EQ(OpenObjects(), 0u);
        EXPECT_EQ(Count(Op::RestoreContext), Count(Op::SaveContext));
    }
};

const std::vector<Op> kDrawing = {Op::FillRectangle, Op::DrawLineTo, Op::CopyBlock, Op::DrawWideText,
                                  Op::DrawWrappedText};

TEST(BevelColours, LightIsOneAndAHalfTimesDarkIsTwoFifths) {
    EXPECT_EQ(BevelLight(Rgb(200, 100, 10)), Rgb(255, 150, 15));
    EXPECT_EQ(BevelDark(Rgb(200, 100, 10)), Rgb(80, 40, 4));
    EXPECT_EQ(BevelLight(Rgb(255, 255, 255)), Rgb(255, 255, 255));
    EXPECT_EQ(BevelDark(Rgb(255, 255, 255)), Rgb(102, 102, 102));
    EXPECT_EQ(BevelLight(Rgb(171, 169, 1)), Rgb(255, 253, 1));
    EXPECT_EQ(BevelDark(0), 0u);
}

TEST_F(Painting, ARaisedBevelIsLitFromTheTopLeft) {
    const platform::DrawingContext dc = reinterpret_cast<platform::DrawingContext>(0x77);
    const uint32_t color = Rgb(200, 100, 10);
    const int64_t light = BevelLight(color);
    const int64_t dark = BevelDark(color);
    DrawBevel(dc, Rect{10, 20, 30, 40}, color, false);
    EXPECT_CALLS({{Op::DrawLineTo, {}, {10, 39, 10, 20, light}, dc},
                  {Op::DrawLineTo, {}, {10, 20, 29, 20, light}, dc},
                  {Op::DrawLineTo, {}, {29, 20, 29, 39, dark}, dc},
                  {Op::DrawLineTo, {}, {29, 39, 9, 39, dark}, dc}},
                 kDrawing);
    ExpectNothingLeft();

    // Sunken: dark top and left.
    DrawBevel(dc, Rect{10, 20, 30, 40}, color, true);
    EXPECT_CALLS({{Op::DrawLineTo, {}, {10, 39, 10, 20, dark}},
                  {Op::DrawLineTo, {}, {10, 20, 29, 20, dark}},
                  {Op::DrawLineTo, {}, {29, 20, 29, 39, light}},
                  {Op::DrawLineTo, {}, {29, 39, 9, 39, light}}},
                 kDrawing);
}

// Both pens or nothing: a pen left selected when it is released lives on.
TEST_F(Painting, ABevelWhosePenFailsDrawsNothingAndLeavesNothingBehind) {
    const platform::DrawingContext dc = reinterpret_cast<platform::DrawingContext>(0x77);
    const std::vector<int> failing[] = {{1}, {2}, {1, 2}};  // light, dark, both
    for (bool sunken : {false, true}) {
        for (const std::vector<int>& pens : failing) {
            SCOPED_TRACE("sunken " + std::to_string(sunken) + ", failing pens " + std::to_string(pens.front()) +
                         ".." + std::to_string(pens.back()));
            ResetPlatformDouble();
            for (int pen : pens) fake.failing.push_back({Op::MakePen, pen});
            DrawBevel(dc, Rect{10, 20, 30, 40}, Rgb(200, 100, 10), sunken);
            EXPECT_CALLS({}, kDrawing);
            EXPECT_EQ(SelectedPen(dc), StockPen());
            EXPECT_EQ(OpenObjects(), 0u) << "a pen released while selected would live on";
        }
    }
}

TEST_F(Painting, EachButtonIsComposedOffScreenAndCopiedInOneBlock) {
    fake.textHeight = 13;
    menu.buttonCount = 2;
    menu.buttons[0].rect = Rect{40, 100, 240, 115};  // 15 pixels high
    menu.buttons[1].rect = Rect{40, 130, 200, 160};
    CopyWide(menu.buttons[0].name, u"Install");
    menu.selectedIndex = 1;
    menu.buttonColorBk = ColorTriple{1, 2, 3};
    menu.bulletColorHi = ColorTriple{250, 0, 0};
    menu.bulletColorLo = ColorTriple{0, 0, 250};
    menu.buttonColorHi = ColorTriple{255, 255, 0};
    menu.buttonColorLo = ColorTriple{300, 96, 96};

    EXPECT_EQ(ButtonPictureSize().width, 201);
    EXPECT_EQ(ButtonPictureSize().height, 31);
    DrawButtons(nullptr);

    // The bullet is as wide as the text is high, one pixel short of top and
    // bottom; the selected button's is in the other colour. 300 draws as 44.
    EXPECT_CALLS({{Op::FillRectangle, {}, {0, 0, 200, 15, Rgb(1, 2, 3)}},
                  {Op::FillRectangle, {}, {0, 1, 13, 14, Rgb(0, 0, 250)}},
                  {Op::DrawWideText, {"Install"}, {26, 0, Rgb(44, 96, 96)}},
                  {Op::CopyBlock, {}, {40, 100, 200, 15, 0, 0}},
                  {Op::FillRectangle, {}, {0, 0, 160, 30, Rgb(1, 2, 3)}},
                  {Op::FillRectangle, {}, {0, 1, 13, 29, Rgb(250, 0, 0)}},
                  {Op::DrawWideText, {""}, {26, 0, Rgb(255, 255, 0)}},
                  {Op::CopyBlock, {}, {40, 130, 160, 30, 0, 0}}},
                 {Op::FillRectangle, Op::DrawWideText, Op::CopyBlock});
    ExpectNothingLeft();
}

TEST_F(Painting, AHeldButtonHasASunkenBullet) {
    menu.buttonCount = 2;
    menu.buttons[0].rect = Rect{0, 0, 100, 20};
    menu.buttons[1].rect = Rect{0, 30, 100, 50};
    menu.bulletColorHi = ColorTriple{200, 100, 10};
    menu.bulletColorLo = ColorTriple{10, 10, 10};
    menu.selectedIndex = 0;
    menu.isPressed = true;
    DrawButtons(reinterpret_cast<platform::DrawingContext>(0x77));
    const std::vector<Call> lines = TakeCalls({Op::DrawLineTo});
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0].numbers.back(), BevelDark(Rgb(200, 100, 10)));
    EXPECT_EQ(lines[4].numbers.back(), BevelLight(Rgb(10, 10, 10))) << "the other button stays raised";
}

TEST_F(Painting, NothingToDrawDrawsNothing) {
    menu.buttonCount = 0;
    DrawButtons(nullptr);
    menu.buttonPaneRect = Rect{50, 10, 50, 300};
    menu.buttonPane3D = true;
    PaintButtonPane(reinterpret_cast<platform::DrawingContext>(0x77));
    menu.copyrightText[0] = 0;
    DrawCopyright(reinterpret_cast<platform::DrawingContext>(0x77));
    EXPECT_CALLS({}, kDrawing);
    ExpectNothingLeft();
    // Without a window there is no context to draw on.
    menu.mainWindow = nullptr;
    menu.buttonCount = 1;
    menu.buttons[0].rect = Rect{0, 0, 10, 10};
    DrawButtons(nullptr);
    DrawHelp(nullptr);
    EXPECT_CALLS({}, kDrawing);
}

TEST_F(Painting, TheHelpAreaIsFilledEvenWithoutText) {
    menu.helpRect = Rect{300, 300, 600, 400};
    menu.buttonColorBk = ColorTriple{5, 6, 7};
    menu.helpColor = ColorTriple{9, 9, 9};
    DrawHelp(nullptr);
    EXPECT_CALLS({{Op::FillRectangle, {}, {300, 300, 600, 400, Rgb(5, 6, 7)}}}, kDrawing);

    CopyWide(menu.defaultHelp, u"Pick one");
    menu.buttonCount = 1;
    CopyWide(menu.buttons[0].help, u"Installs it");
    DrawHelp(nullptr);
    menu.selectedIndex = 0;
    DrawHelp(nullptr);
    EXPECT_CALLS({{Op::DrawWrappedText, {"Pick one"}, {300, 300, 600, 400, Rgb(9, 9, 9)}},
                  {Op::DrawWrappedText, {"Installs it"}, {300, 300, 600, 400, Rgb(9, 9, 9)}}},
                 {Op::DrawWrappedText});
    ExpectNothingLeft();
}

TEST_F(Painting, TheCopyrightColourFollowsTheTargetsDepth) {
    CopyWide(menu.copyrightText, u"(c) Disc");
    menu.copyrightPos = Point{24, 448};
    menu.copyrightColor = ColorTriple{255, 181, 0};
    menu.copyrightColorLowDepth = ColorTriple{255, 255, 0};
    const platform::DrawingContext dc = reinterpret_cast<platform::DrawingContext>(0x77);
    for (const int32_t bits : {8, 4, 16, 32}) {
        SCOPED_TRACE(bits);
        fake.bitsPerPixel = bits;
        DrawCopyright(dc);
        EXPECT_CALLS({{Op::DrawWideText, {"(c) Disc"}, {24, 448, bits > 8 ? Rgb(255, 181, 0) : Rgb(255, 255, 0)}, dc}},
                     kDrawing);
    }
    EXPECT_EQ(Count(Op::RestoreContext), Count(Op::SaveContext));
}

TEST_F(Painting, ThePaintRequestDrawsEverythingInOrder) {
    menu.windowRect = Rect{100, 50, 740, 530};
    menu.backColor = ColorTriple{1, 1, 1};
    menu.backgroundBitmap = reinterpret_cast<platform::Bitmap>(0x6000);
    menu.bitmapSize = Size{320, 240};
    menu.bitmapRect = Rect{10, 20, 810, 620};  // larger than the picture
    menu.buttonPaneRect = Rect{20, 20, 200, 300};
    menu.buttonPaneColor = ColorTriple{2, 2, 2};
    menu.buttonCount = 1;
    menu.buttons[0].rect = Rect{30, 30, 190, 60};
    menu.helpRect = Rect{300, 300, 600, 400};
    CopyWide(menu.copyrightText, u"(c)");
    menu.edgeEnabled = true;
    PaintMenuWindow(menu.mainWindow);

    const std::vector<Call> drawn = TakeCalls(kDrawing);
    std::vector<Op> steps;
    for (const Call& call : drawn) {
        if (steps.empty() || steps.back() != call.op) steps.push_back(call.op);
    }
    EXPECT_EQ(steps, (std::vector<Op>{Op::FillRectangle, Op::CopyBlock, Op::FillRectangle, Op::DrawLineTo,
                                      Op::DrawWideText, Op::CopyBlock, Op::FillRectangle, Op::DrawWideText,
                                      Op::DrawLineTo}));
    EXPECT_EQ(drawn[0].numbers, (Numbers{0, 0, 640, 480, Rgb(1, 1, 1)}));
    // The picture is copied at its own size: beyond it the background colour stays.
    EXPECT_EQ(drawn[1].numbers, (Numbers{10, 20, 320, 240, 0, 0}));
    ExpectNothingLeft();
}

// An unanswered paint request would come back at once, for ever.
TEST_F(Painting, APaintRequestWithoutAContextMarksTheWindowPainted) {
    fake.failing = {{Op::BeginWindowPaint}};
    PaintMenuWindow(menu.mainWindow);
    EXPECT_CALLS({{Op::BeginWindowPaint, {}, {}, menu.mainWindow}, {Op::MarkWindowPainted, {}, {}, menu.mainWindow}});
    ExpectNothingLeft();
}

}  // namespace
