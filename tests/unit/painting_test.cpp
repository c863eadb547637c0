#include <gtest/gtest.h>

#include "config/menu_model.h"
#include "config/wide_text.h"
#include "render/menu_painting.h"
#include "support/platform_double.h"

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | (g << 8) | (b << 16);
}

bool SameRect(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class Painting : public ::testing::Test {
protected:
    void SetUp() override {
        menu = Menu{};
        ResetPlatformDouble();
        menu.mainWindow = FakeWindow(1);
    }
    // Every context, brush, pen and picture released; every saved state restored.
    void ExpectNothingLeft() {
        EXPECT_EQ(fake.openObjects, 0);
        EXPECT_EQ(fake.savedStates, 0);
    }
    std::vector<DrawnOperation> Drawn(const std::string& kind) {
        std::vector<DrawnOperation> found;
        for (const DrawnOperation& op : fake.drawn) {
            if (op.kind == kind) found.push_back(op);
        }
        return found;
    }
};

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
    DrawBevel(dc, Rect{10, 20, 30, 40}, color, false);
    const std::vector<DrawnOperation> lines = Drawn("line");
    ASSERT_EQ(lines.size(), 4u);
    const struct {
        Rect line;
        uint32_t pen;
    } expected[] = {
        {{10, 39, 10, 20}, BevelLight(color)},
        {{10, 20, 29, 20}, BevelLight(color)},
        {{29, 20, 29, 39}, BevelDark(color)},
        {{29, 39, 9, 39}, BevelDark(color)},
    };
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(SameRect(lines[i].rect, expected[i].line)) << i;
        EXPECT_EQ(lines[i].color, expected[i].pen) << i;
    }
    ExpectNothingLeft();

    fake.drawn.clear();
    DrawBevel(dc, Rect{10, 20, 30, 40}, color, true);
    EXPECT_EQ(Drawn("line")[0].color, BevelDark(color)) << "sunken: dark top and left";
    EXPECT_EQ(Drawn("line")[3].color, BevelLight(color));
}

// Both pens or nothing: a pen left selected when it is released lives on.
TEST_F(Painting, ABevelWhosePenFailsDrawsNothingAndLeavesNothingBehind) {
    const platform::DrawingContext dc = reinterpret_cast<platform::DrawingContext>(0x77);
    const std::vector<int> failing[] = {{1}, {2}, {1, 2}};  // light, dark, both
    for (bool sunken : {false, true}) {
        for (const std::vector<int>& pens : failing) {
            ResetPlatformDouble();
            fake.failingPens = pens;
            DrawBevel(dc, Rect{10, 20, 30, 40}, Rgb(200, 100, 10), sunken);
            const std::string what = "sunken " + std::to_string(sunken) + ", failing pens " +
                                     std::to_string(pens.front()) + ".." + std::to_string(pens.back());
            EXPECT_TRUE(Drawn("line").empty()) << what;
            EXPECT_EQ(SelectedPen(dc), StockPen()) << what;
            EXPECT_EQ(fake.pensReleasedWhileSelected, 0) << what;
            EXPECT_EQ(fake.openObjects, 0) << what;
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

    const std::vector<DrawnOperation> fills = Drawn("fill");
    ASSERT_EQ(fills.size(), 4u);
    EXPECT_TRUE(SameRect(fills[0].rect, Rect{0, 0, 200, 15}));
    EXPECT_EQ(fills[0].color, Rgb(1, 2, 3));
    // The bullet is as wide as the text is high, one pixel short of top and bottom.
    EXPECT_TRUE(SameRect(fills[1].rect, Rect{0, 1, 13, 14}));
    EXPECT_EQ(fills[1].color, Rgb(0, 0, 250));
    EXPECT_EQ(fills[3].color, Rgb(250, 0, 0)) << "the selected button's bullet";

    const std::vector<DrawnOperation> texts = Drawn("text");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].rect.left, 26);
    EXPECT_EQ(texts[0].rect.top, 0);
    EXPECT_EQ(texts[0].text, "Install");
    EXPECT_EQ(texts[0].color, Rgb(44, 96, 96)) << "300 draws as 44";
    EXPECT_EQ(texts[1].color, Rgb(255, 255, 0));

    const std::vector<DrawnOperation> copies = Drawn("copy");
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_TRUE(SameRect(copies[0].rect, Rect{40, 100, 200, 15}));
    EXPECT_TRUE(SameRect(copies[1].rect, Rect{40, 130, 160, 30}));
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
    const std::vector<DrawnOperation> lines = Drawn("line");
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0].color, BevelDark(Rgb(200, 100, 10)));
    EXPECT_EQ(lines[4].color, BevelLight(Rgb(10, 10, 10))) << "the other button stays raised";
}

TEST_F(Painting, NothingToDrawDrawsNothing) {
    menu.buttonCount = 0;
    DrawButtons(nullptr);
    menu.buttonPaneRect = Rect{50, 10, 50, 300};
    menu.buttonPane3D = true;
    PaintButtonPane(reinterpret_cast<platform::DrawingContext>(0x77));
    menu.copyrightText[0] = 0;
    DrawCopyright(reinterpret_cast<platform::DrawingContext>(0x77));
    EXPECT_TRUE(fake.drawn.empty());
    ExpectNothingLeft();
    // Without a window there is no context to draw on.
    menu.mainWindow = nullptr;
    menu.buttonCount = 1;
    menu.buttons[0].rect = Rect{0, 0, 10, 10};
    DrawButtons(nullptr);
    DrawHelp(nullptr);
    EXPECT_TRUE(fake.drawn.empty());
}

TEST_F(Painting, TheHelpAreaIsFilledEvenWithoutText) {
    menu.helpRect = Rect{300, 300, 600, 400};
    menu.buttonColorBk = ColorTriple{5, 6, 7};
    menu.helpColor = ColorTriple{9, 9, 9};
    DrawHelp(nullptr);
    ASSERT_EQ(fake.drawn.size(), 1u);
    EXPECT_EQ(fake.drawn[0].kind, "fill");
    EXPECT_EQ(fake.drawn[0].color, Rgb(5, 6, 7));

    fake.drawn.clear();
    CopyWide(menu.defaultHelp, u"Pick one");
    menu.buttonCount = 1;
    CopyWide(menu.buttons[0].help, u"Installs it");
    DrawHelp(nullptr);
    EXPECT_EQ(Drawn("wrapped")[0].text, "Pick one");
    EXPECT_TRUE(SameRect(Drawn("wrapped")[0].rect, menu.helpRect));
    EXPECT_EQ(Drawn("wrapped")[0].color, Rgb(9, 9, 9));
    menu.selectedIndex = 0;
    DrawHelp(nullptr);
    EXPECT_EQ(Drawn("wrapped")[1].text, "Installs it");
    ExpectNothingLeft();
}

TEST_F(Painting, TheCopyrightColourFollowsTheTargetsDepth) {
    CopyWide(menu.copyrightText, u"(c) Disc");
    menu.copyrightPos = Point{24, 448};
    menu.copyrightColor = ColorTriple{255, 181, 0};
    menu.copyrightColorLowDepth = ColorTriple{255, 255, 0};
    const platform::DrawingContext dc = reinterpret_cast<platform::DrawingContext>(0x77);
    for (const int32_t bits : {8, 4, 16, 32}) {
        fake.bitsPerPixel = bits;
        fake.drawn.clear();
        DrawCopyright(dc);
        ASSERT_EQ(fake.drawn.size(), 1u);
        EXPECT_EQ(fake.drawn[0].color, bits > 8 ? Rgb(255, 181, 0) : Rgb(255, 255, 0)) << bits;
        EXPECT_EQ(fake.drawn[0].rect.left, 24);
        EXPECT_EQ(fake.drawn[0].rect.top, 448);
    }
    EXPECT_EQ(fake.savedStates, 0);
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

    std::vector<std::string> kinds;
    for (const DrawnOperation& op : fake.drawn) {
        if (kinds.empty() || kinds.back() != op.kind) kinds.push_back(op.kind);
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"fill", "copy", "fill", "line", "text", "copy", "fill", "text", "line"}));
    EXPECT_TRUE(SameRect(fake.drawn[0].rect, Rect{0, 0, 640, 480}));
    // The picture is copied at its own size: beyond it the background colour stays.
    EXPECT_TRUE(SameRect(fake.drawn[1].rect, Rect{10, 20, 320, 240}));
    ExpectNothingLeft();
}

// An unanswered paint request would come back at once, for ever.
TEST_F(Painting, APaintRequestWithoutAContextMarksTheWindowPainted) {
    fake.paintContextFails = true;
    PaintMenuWindow(menu.mainWindow);
    EXPECT_EQ(fake.markedPainted, std::vector<platform::Window>{menu.mainWindow});
    EXPECT_TRUE(fake.drawn.empty());
    ExpectNothingLeft();
}

}  // namespace
