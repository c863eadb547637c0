// The configuration as the menu reads it at start-up: languages, refusals.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "e2e/menu_process.h"
#include "e2e/sample_configs.h"
#include "support/fixture_bytes.h"

namespace {

TEST(MenuConfiguration, FewerThanTwoButtonsStopTheMenu) {
    Disc disc;
    disc.Folder().Write("back.bmp", fixture::PlainBitmap(20, 20, {9, 9, 9}));
    disc.Folder().Write("install.ini", fixture::Utf16Le(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=1\r\n"));
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND box = menu.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    const MessageBoxContent content = ReadMessageBox(box);
    EXPECT_EQ(content.caption, "Error");
    EXPECT_EQ(content.text, "Couldn't read ini file at " + disc.IniPath());
    DismissMessageBox(box);
    DWORD exitCode = 1;
    ASSERT_TRUE(menu.WaitForExit(20000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST(MenuConfiguration, ALanguageThatIsNotInstalledEndsStartUp) {
    Disc disc;
    disc.Folder().Write("back.bmp", fixture::PlainBitmap(20, 20, {9, 9, 9}));
    disc.Folder().Write("install.ini",
                        fixture::Utf16Le(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2\r\nLanguageCount=1\r\n"
                                         u"[Languages]\r\nlanguage1=0x3FE,0\r\n"));
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND box = menu.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    const MessageBoxContent content = ReadMessageBox(box);
    EXPECT_EQ(content.caption, "Unsupported Language");
    EXPECT_EQ(content.text, "This program cannot run because the requested\nlanguage is not supported on this system");
    DismissMessageBox(box);
    DWORD exitCode = 1;
    ASSERT_TRUE(menu.WaitForExit(20000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(menu.WaitForWindow("Quorvan Belmira Autorun", 0), nullptr);
}

TEST(MenuConfiguration, TheUsersLanguageSizesTheWindow) {
    Disc disc;
    WriteTwoLanguageDisc(disc);
    EXPECT_EQ(OpenedClientSize(disc), (SIZE{400, 300})) << "English sections";
}

}  // namespace
