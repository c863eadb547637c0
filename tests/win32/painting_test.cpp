// Painting through real GDI under Wine, checked pixel by pixel.
#include <windows.h>

#include <gtest/gtest.h>

#include "config/menu_model.h"
#include "config/wide_text.h"
#include "render/fonts.h"
#include "render/menu_painting.h"

namespace {

constexpr COLORREF kUntouched = RGB(17, 34, 51);

// A 32-bit top-down picture in a memory context, filled with kUntouched.
class Canvas {
public:
    Canvas(int width, int height, int bits = 32) : width(width) {
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colors[256];
        } info = {};
        info.header.biSize = sizeof info.header;
        info.header.biWidth = width;
        info.header.biHeight = -height;
        info.header.biPlanes = 1;
        info.header.biBitCount = static_cast<WORD>(bits);
        info.header.biCompression = BI_RGB;
        for (int i = 0; i < 256; ++i) info.colors[i] = RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(i), 0, 0};
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits_, nullptr, 0);
        previous = SelectObject(dc, bitmap);
        HBRUSH brush = CreateSolidBrush(kUntouched);
        RECT all = {0, 0, width, height};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    platform::DrawingContext Context() const { return reinterpret_cast<platform::DrawingContext>(dc); }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }

    HDC dc;

private:
    int width;
    HBITMAP bitmap;
    HGDIOBJ previous;
    void* bits_ = nullptr;
};

class PaintingPixels : public ::testing::Test {
protected:
    void SetUp() override { menu = Menu{}; }
};

TEST_F(PaintingPixels, ABevelCoversExactlyItsFramePixels) {
    Canvas canvas(40, 40);
    const uint32_t color = RGB(200, 100, 10);
    DrawBevel(canvas.Context(), Rect{10, 10, 20, 16}, color, false);
    const COLORREF light = RGB(255, 150, 15);
    const COLORREF dark = RGB(80, 40, 4);
    for (int y = 10; y <= 14; ++y) EXPECT_EQ(canvas.At(10, y), light) << "left column, row " << y;
    for (int x = 10; x <= 18; ++x) EXPECT_EQ(canvas.At(x, 10), light) << "top row, column " << x;
    for (int y = 10; y <= 15; ++y) EXPECT_EQ(canvas.At(19, y), dark) << "right column, row " << y;
    for (int x = 10; x <= 19; ++x) EXPECT_EQ(canvas.At(x, 15), dark) << "bottom row, column " << x;
    EXPECT_EQ(canvas.At(11, 11), kUntouched) << "inside";
    EXPECT_EQ(canvas.At(9, 15), kUntouched) << "the last line stops before left - 1";
    EXPECT_EQ(canvas.At(20, 10), kUntouched);

    DrawBevel(canvas.Context(), Rect{10, 10, 20, 16}, color, true);
    EXPECT_EQ(canvas.At(10, 12), dark);
    EXPECT_EQ(canvas.At(19, 12), light);
}

TEST_F(PaintingPixels, ThePaneIsFilledAndBevelledOrLeftAlone) {
    Canvas canvas(60, 60);
    menu.buttonPaneRect = Rect{5, 5, 50, 40};
    menu.buttonPaneColor = ColorTriple{300, 100, 50};
    menu.buttonPane3D = true;
    PaintButtonPane(canvas.Context());
    EXPECT_EQ(canvas.At(20, 20), RGB(44, 100, 50)) << "300 draws as 44";
    EXPECT_EQ(canvas.At(5, 20), RGB(66, 150, 75));
    EXPECT_EQ(canvas.At(49, 20), RGB(17, 40, 20));
    EXPECT_EQ(canvas.At(50, 20), kUntouched);

    Canvas empty(60, 60);
    menu.buttonPaneRect = Rect{5, 5, 5, 40};
    PaintButtonPane(empty.Context());
    EXPECT_EQ(empty.At(5, 20), kUntouched);
    EXPECT_EQ(empty.At(4, 20), kUntouched);
}

TEST_F(PaintingPixels, ButtonsShowTheirStateInBulletAndBevel) {
    Canvas canvas(200, 100);
    menu.buttonCount = 2;
    menu.buttons[0].rect = Rect{10, 10, 150, 40};
    menu.buttons[1].rect = Rect{10, 50, 150, 80};
    CopyWide(menu.buttons[0].name, u"A");
    CopyWide(menu.buttons[1].name, u"B");
    menu.buttonColorBk = ColorTriple{0, 0, 80};
    menu.bulletColorHi = ColorTriple{200, 0, 0};
    menu.bulletColorLo = ColorTriple{0, 200, 0};
    menu.buttonColorHi = ColorTriple{255, 255, 255};
    menu.buttonColorLo = ColorTriple{128, 128, 128};
    menu.selectedIndex = 1;
    menu.isPressed = true;
    DrawButtons(canvas.Context());

    SIZE extent;
    GetTextExtentPoint32A(canvas.dc, "Test", 4, &extent);
    const int h = extent.cy;
    ASSERT_GT(h, 4);
    // Unselected: green bullet with a raised bevel, background beyond it.
    EXPECT_EQ(canvas.At(10 + h / 2, 25), RGB(0, 200, 0));
    EXPECT_EQ(canvas.At(10, 25), RGB(0, 255, 0)) << "raised: light left edge";
    EXPECT_EQ(canvas.At(10 + h - 1, 25), RGB(0, 80, 0)) << "raised: dark right edge";
    EXPECT_EQ(canvas.At(10 + h / 2, 10), RGB(0, 0, 80)) << "the bullet stops a pixel short of the top";
    EXPECT_EQ(canvas.At(140, 25), RGB(0, 0, 80));
    // Selected and held: red bullet, sunken.
    EXPECT_EQ(canvas.At(10 + h / 2, 65), RGB(200, 0, 0));
    EXPECT_EQ(canvas.At(10, 65), RGB(80, 0, 0)) << "sunken: dark left edge";
    EXPECT_EQ(canvas.At(10 + h - 1, 65), RGB(255, 0, 0));
    // Nothing outside the buttons.
    EXPECT_EQ(canvas.At(150, 25), kUntouched);
    EXPECT_EQ(canvas.At(50, 45), kUntouched);
}

TEST_F(PaintingPixels, ACaptionIsCutAtTheButtonsEdge) {
    Canvas canvas(200, 60);
    menu.buttonCount = 1;
    menu.buttons[0].rect = Rect{0, 0, 60, 30};
    CopyWide(menu.buttons[0].name, u"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    menu.buttonColorBk = ColorTriple{0, 0, 0};
    menu.buttonColorLo = ColorTriple{255, 255, 255};
    DrawButtons(canvas.Context());
    bool captionInside = false;
    for (int x = 30; x < 60; ++x) captionInside = captionInside || canvas.At(x, 5) == RGB(255, 255, 255);
    EXPECT_TRUE(captionInside);
    for (int x = 60; x < 200; ++x) EXPECT_EQ(canvas.At(x, 5), kUntouched) << x;
}

TEST_F(PaintingPixels, TheHelpAreaIsFilledAndHoldsTheText) {
    Canvas canvas(200, 100);
    menu.helpRect = Rect{20, 20, 180, 80};
    menu.buttonColorBk = ColorTriple{10, 20, 30};
    menu.helpColor = ColorTriple{250, 250, 250};
    DrawHelp(canvas.Context());
    EXPECT_EQ(canvas.At(100, 50), RGB(10, 20, 30));
    EXPECT_EQ(canvas.At(19, 50), kUntouched);

    CopyWide(menu.defaultHelp, u"Help help help help help help help help help help help help help help help");
    DrawHelp(canvas.Context());
    int lit = 0;
    for (int y = 20; y < 80; ++y) {
        for (int x = 20; x < 180; ++x) lit += canvas.At(x, y) == RGB(250, 250, 250);
    }
    EXPECT_GT(lit, 20);
    for (int x = 0; x < 200; ++x) EXPECT_NE(canvas.At(x, 85), RGB(250, 250, 250)) << "clipped to the area";
}

TEST_F(PaintingPixels, TheCopyrightLineTakesTheColourForTheDepth) {
    CopyWide(menu.copyrightText, u"\u2588\u2588\u2588\u2588 Copyright");
    menu.copyrightPos = Point{4, 4};
    menu.copyrightColor = ColorTriple{255, 181, 0};
    menu.copyrightColorLowDepth = ColorTriple{255, 255, 0};
    RequestFont(&menu.copyrightFontRequest, u"20,700,0,0,Tahoma");
    MakeRequestedFonts();
    Canvas deep(200, 40);
    ASSERT_GT(GetDeviceCaps(deep.dc, BITSPIXEL), 8);
    DrawCopyright(deep.Context());
    int deepPixels = 0;
    for (int y = 4; y < 30; ++y) {
        for (int x = 4; x < 100; ++x) deepPixels += deep.At(x, y) == RGB(255, 181, 0);
    }
    EXPECT_GT(deepPixels, 10);
    DeleteObject(reinterpret_cast<HFONT>(menu.copyrightFont));
}

}  // namespace
