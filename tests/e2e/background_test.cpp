// The background picture as tessaline.exe loads it: scaled when the work
// area is too small for AppSize, refused (with two boxes) when it cannot be
// scaled or is damaged. The 1024 x 768 test screen leaves 1004 x 748, so an
// AppSize of 2008,1496 gives a scale of exactly 0.5.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/menu_process.h"
#include "support/fixture_bytes.h"

namespace {

constexpr const char* kMenuClass = "Quorvan Belmira Autorun";
constexpr DWORD kExitLimitMs = 20000;

void WriteDisc(const Disc& disc, const std::string& picture, const std::u16string& extraGeneral) {
    disc.Folder().Write("back.bmp", picture);
    disc.Folder().Write("install.ini", fixture::Utf16Le(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2\r\n" +
                                                        extraGeneral));
}

// Expects the message boxes in order, dismissing each, then the exit code 0.
void ExpectBoxesThenExit(const Disc& disc, const std::vector<MessageBoxContent>& expected) {
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    for (const MessageBoxContent& box : expected) {
        HWND shown = menu.WaitForMessageBox();
        ASSERT_NE(shown, nullptr) << "no message box; expected: " << box.text;
        const MessageBoxContent content = ReadMessageBox(shown);
        EXPECT_EQ(content.caption, box.caption);
        EXPECT_EQ(content.text, box.text);
        DismissMessageBox(shown);
        // Wait until it is gone, so that the next search finds the next box.
        for (int attempt = 0; attempt < 250 && IsWindow(shown); ++attempt) PumpMessagesFor(20);
    }
    DWORD exitCode = 1;
    ASSERT_TRUE(menu.WaitForExit(kExitLimitMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(menu.WaitForMessageBox(0), nullptr);
}

const MessageBoxContent kUnsupported{"Incorrect bitmap format", "Only 16 color and 256 color bitmaps are supported!"};
const MessageBoxContent kUnreadable{"Error", "Couldn't read bit map file back.bmp"};

// An 8-bit picture whose header and colour table are whole but which ends
// after its first ten pixel rows: the missing rows reach pages beyond the
// file's end.
std::string CutPicture() {
    const std::string whole = fixture::PlainBitmap(200, 200, {30, 60, 90});
    return whole.substr(0, 14 + 40 + 4 + 200 * 10);
}

TEST(Background, ACutPictureThatMustBeScaledIsRefusedWithTwoBoxes) {
    Disc disc;
    WriteDisc(disc, CutPicture(), u"AppSize=2008,1496\r\n");
    ExpectBoxesThenExit(disc, {kUnsupported, kUnreadable});
}

TEST(Background, ACutPictureAtItsOwnSizeIsShown) {
    Disc disc;
    WriteDisc(disc, CutPicture(), u"");
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = menu.WaitForWindow(kMenuClass);
    ASSERT_NE(window, nullptr);
    CloseAndExpectExitZero(menu, window);
}

TEST(Background, ATrueColourPictureCannotBeScaled) {
    Disc disc;
    WriteDisc(disc, fixture::TrueColorBitmap(64, 48, {200, 16, 32}), u"AppSize=2008,1496\r\n");
    ExpectBoxesThenExit(disc, {kUnsupported, kUnreadable});
}

TEST(Background, APictureIsShownAtTheScaleTheWorkAreaLeaves) {
    // 200 x 100: red on the left half, blue on the right; halved, 100 x 50.
    std::vector<uint8_t> indices(200 * 100);
    for (size_t k = 0; k < indices.size(); ++k) indices[k] = k % 200 < 100 ? 0 : 1;
    Disc disc;
    WriteDisc(disc, fixture::PaletteBitmap(200, 100, 8, {{255, 0, 0}, {0, 0, 255}}, indices),
              u"AppSize=2008,1496\r\nBackColor=0,255,0\r\n");
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = menu.WaitForWindow(kMenuClass);
    ASSERT_NE(window, nullptr);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 1004);
    EXPECT_EQ(client.bottom, 748);

    for (int attempt = 0; attempt < 100 && ScreenPixel(window, 25, 25) != RGB(255, 0, 0); ++attempt) {
        PumpMessagesFor(20);
    }
    EXPECT_EQ(ScreenPixel(window, 25, 25), RGB(255, 0, 0));
    EXPECT_EQ(ScreenPixel(window, 99, 49), RGB(0, 0, 255));
    EXPECT_EQ(ScreenPixel(window, 100, 25), RGB(0, 255, 0)) << "beyond the halved picture";
    EXPECT_EQ(ScreenPixel(window, 25, 50), RGB(0, 255, 0)) << "below the halved picture";

    CloseAndExpectExitZero(menu, window);
}

}  // namespace
