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

    // Replaces one line of the disc's install.ini (UTF-16 little endian).
    void ReplaceInIni(const std::wstring& from, const std::wstring& to) {
        const std::string path = disc.Folder().Path() + "install.ini";
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        std::string bytes(GetFileSize(file, nullptr), '\0');
        DWORD read = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        CloseHandle(file);
        std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
        const size_t at = text.find(from);
        ASSERT_NE(at, std::wstring::npos);
        text.replace(at, from.size(), to);
        disc.Folder().Write("install.ini", std::string("\xFF\xFE", 2) +
                                               std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
    }

    // Starts the menu and waits until the pane's colour shows at (x, y).
    HWND Open(MenuProcess& menu, int x = 30, int y = 300) {
        HWND window = menu.WaitForWindow("Quorvan Belmira Autorun");
        if (window == nullptr) return nullptr;
        for (int attempt = 0; attempt < 100 && Pixel(window, x, y) != RGB(40, 44, 54); ++attempt) {
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

    CloseAndExpectExitZero(menu, window);
}

TEST_F(SampleDisc, AMenuLargerThanTheScreenIsScaledToFit) {
    // 1280 x 960 on the 1024 x 768 test screen: scale = 748 / 960.
    ReplaceInIni(L"AppSize=640,480", L"AppSize=1280,960");
    const double scale = static_cast<float>(748.0 / 960.0);
    auto scaled = [scale](int v) { return static_cast<int>(static_cast<float>(v * scale + 0.5)); };
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = Open(menu, scaled(30), scaled(300));
    ASSERT_NE(window, nullptr);

    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, scaled(1280));
    EXPECT_EQ(client.bottom, scaled(960));
    const Capture shot(window);
    // The pane and its bevel, the help area and the edge at their scaled places.
    EXPECT_EQ(shot.At(scaled(30), scaled(300)), RGB(40, 44, 54));
    EXPECT_EQ(shot.At(scaled(24), scaled(300)), RGB(60, 66, 81));
    EXPECT_EQ(shot.At(scaled(264) - 1, scaled(300)), RGB(16, 17, 21));
    EXPECT_EQ(shot.At(scaled(600), scaled(388)), RGB(36, 38, 46));
    EXPECT_EQ(shot.At(0, 100), RGB(255, 255, 60));
    // The picture is resampled to 498 x 373: beyond it the background colour (12,24,60) shows.
    EXPECT_EQ(shot.At(600, 200), RGB(12, 24, 60));
    EXPECT_NE(shot.At(400, 200), RGB(12, 24, 60));

    CloseAndExpectExitZero(menu, window);
}

}  // namespace
