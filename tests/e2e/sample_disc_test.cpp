// The sample disc as a user sees it: every element in its configured colour
// at its configured place, read from the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "e2e/menu_process.h"

namespace {

// The sample disc's files, through Wine's drive for the host's root.
const std::string kSampleDisc = std::string("Z:") + TESSALINE_SAMPLE_DISC + "/";

class SampleDisc : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* file : {"install.ini", "background.bmp", "readme.txt"}) {
            disc.Folder().CopyIn(kSampleDisc + file, file);
        }
    }

    // Starts the menu and waits until its client area shows the picture.
    HWND Open(MenuProcess& menu) {
        HWND window = menu.WaitForWindow("Quorvan Belmira Autorun");
        if (window == nullptr) return nullptr;
        for (int attempt = 0; attempt < 100 && Pixel(window, 30, 300) != RGB(40, 44, 54); ++attempt) {
            PumpMessagesFor(20);
        }
        return window;
    }

    // The client area as it is on the screen now.
    struct Capture {
        explicit Capture(HWND window) {
            RECT client;
            GetClientRect(window, &client);
            POINT origin = {0, 0};
            ClientToScreen(window, &origin);
            HDC screen = GetDC(nullptr);
            dc = CreateCompatibleDC(screen);
            bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
            previous = SelectObject(dc, bitmap);
            BitBlt(dc, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
            ReleaseDC(nullptr, screen);
        }
        ~Capture() {
            SelectObject(dc, previous);
            DeleteObject(bitmap);
            DeleteDC(dc);
        }
        COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
        int CountInArea(const RECT& area, COLORREF color) const {
            int count = 0;
            for (int y = area.top; y < area.bottom; ++y) {
                for (int x = area.left; x < area.right; ++x) count += At(x, y) == color;
            }
            return count;
        }
        HDC dc;
        HBITMAP bitmap;
        HGDIOBJ previous;
    };

    static COLORREF Pixel(HWND window, int x, int y) { return Capture(window).At(x, y); }

    Disc disc;
};

TEST_F(SampleDisc, ShowsEveryElementAsConfigured) {
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = Open(menu);
    ASSERT_NE(window, nullptr);

    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);

    const Capture shot(window);
    // The pane (40,44,54) with its raised bevel, between the buttons.
    EXPECT_EQ(shot.At(30, 300), RGB(40, 44, 54));
    EXPECT_EQ(shot.At(24, 300), RGB(60, 66, 81));
    EXPECT_EQ(shot.At(263, 300), RGB(16, 17, 21));
    // A button: its background (36,38,46) and its raised bullet (110,116,130).
    EXPECT_EQ(shot.At(240, 150), RGB(36, 38, 46));
    EXPECT_EQ(shot.At(44, 148), RGB(110, 116, 130));
    EXPECT_EQ(shot.At(40, 148), RGB(165, 174, 195));
    // The caption in BtnColorLo and the help text in HelpColor.
    EXPECT_GT(shot.CountInArea(RECT{60, 132, 248, 164}, RGB(200, 204, 214)), 10);
    EXPECT_EQ(shot.At(600, 388), RGB(36, 38, 46));
    EXPECT_GT(shot.CountInArea(RECT{300, 310, 606, 392}, RGB(220, 224, 232)), 10);
    // The copyright line and the edge (250,190,40): light left, dark right.
    EXPECT_GT(shot.CountInArea(RECT{24, 448, 300, 470}, RGB(250, 190, 40)), 10);
    EXPECT_EQ(shot.At(0, 200), RGB(255, 255, 60));
    EXPECT_EQ(shot.At(639, 200), RGB(100, 76, 16));
    // The picture: its gold rule, unscaled at 1024 x 768.
    EXPECT_EQ(shot.At(30, 87), shot.At(30, 88));
    EXPECT_NE(shot.At(30, 87), shot.At(30, 84));

    SendMessageA(window, WM_USER, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(menu.WaitForExit(20000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
