// The menu started from a disc folder read back out of an ISO 9660 image
// with Joliet names: it shows its window, and its button starts the program
// whose folder and file names are at the image's limits. tests/image/round-trip
// makes the image and names the folder and the program in the environment:
// TESSALINE_IMAGE_DISC (the folder) and TESSALINE_IMAGE_PROGRAM (the
// button's Path).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "e2e/menu_process.h"

namespace {

constexpr const char* kMenuClass = "Quorvan Belmira Autorun";
// The round trip's install.ini draws the bullets in these colours.
constexpr COLORREF kBulletLo = RGB(0, 255, 0);
constexpr COLORREF kBulletHi = RGB(255, 0, 0);

// A variable of the environment, with backslashes for slashes.
std::string WindowsPathFrom(const char* variable) {
    const char* value = std::getenv(variable);
    std::string path = value != nullptr ? value : "";
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

bool WaitForPixel(HWND window, int x, int y, COLORREF color) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (ScreenPixel(window, x, y) == color) return true;
        PumpMessagesFor(20);
    }
    return false;
}

TEST(DiscImage, TheMenuReadBackFromTheImageStartsItsButtonsProgram) {
    std::string folder = WindowsPathFrom("TESSALINE_IMAGE_DISC");
    const std::string program = WindowsPathFrom("TESSALINE_IMAGE_PROGRAM");
    ASSERT_FALSE(folder.empty() || program.empty()) << "run by tests/image/round-trip, which names the disc";
    if (folder.back() != '\\') folder += '\\';

    ProbeLog log;
    MenuProcess menu(folder + "tessaline.exe", "", folder);
    HWND window = menu.WaitForWindow(kMenuClass);
    ASSERT_NE(window, nullptr) << "no menu window from " << folder;
    ASSERT_TRUE(WaitForPixel(window, 12, 35, kBulletLo)) << "the button is not drawn";
    // Tab highlights the first button, Enter presses it.
    input::Tap(VK_TAB);
    ASSERT_TRUE(WaitForPixel(window, 12, 35, kBulletHi)) << "Tab did not highlight the button";
    input::Tap(VK_RETURN);
    ASSERT_TRUE(log.WaitForLines(1)) << "the button's program did not start";
    const std::string line = log.Lines()[0];
    EXPECT_EQ(CommandLineOf(line), "\"" + folder + program + "\" /from-image");
    EXPECT_EQ(FolderOf(line), folder + program.substr(0, program.rfind('\\')));
    CloseAndExpectExitZero(menu, window);
}

}  // namespace
