// The menu used with real pointer and key input under Wine and Xvfb.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "e2e/menu_process.h"
#include "support/fixture_bytes.h"

namespace {

constexpr const char* kMenuClass = "Quorvan Belmira Autorun";
constexpr COLORREF kBulletLo = RGB(0, 255, 0);
constexpr COLORREF kBulletHi = RGB(255, 0, 0);

bool WaitForPixel(HWND window, int x, int y, COLORREF color, int attempts = 100) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (ScreenPixel(window, x, y) == color) return true;
        PumpMessagesFor(20);
    }
    return false;
}

// Moves the pointer over the button whose bullet is at (12, bulletY) until
// its bullet lights. On a busy machine the system may drop a synthetic move
// (seen under load: no highlight within 2 s of a single move), so the move
// is made again, a pixel aside, as a hand would; a menu that ignored the
// pointer stays dark through every try.
bool HoverUntilLit(HWND window, int x, int bulletY) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        input::MoveTo(window, x + attempt % 2, bulletY);
        if (WaitForPixel(window, 12, bulletY, kBulletHi, 40)) return true;
    }
    return false;
}

// A disc with three buttons in English and German: a probe, a probe that
// ends the menu, and a button that only ends it.
class Interaction : public ::testing::Test {
protected:
    void SetUp() override {
        // The pointer starts away from the menu, whatever an earlier test left.
        SetCursorPos(0, 0);
        disc.Folder().CopyIn(OwnFolder() + "launch_probe.exe", "tools\\probe.exe");
        disc.Folder().Write("back.bmp", fixture::PlainBitmap(320, 240, {20, 20, 20}));
        std::u16string buttons;
        for (const char16_t* tag : {u"0x09", u"0x07"}) {
            const std::u16string t = tag;
            const std::u16string word = t == u"0x09" ? u"Probe" : u"Sonde";
            buttons += u"[Button1-" + t + u"]\r\nName=" + word + u"\r\nBtnRect=10,20,150,50\r\n"
                       u"Path=tools\\probe.exe\r\nArgs=/greet\r\n"
                       u"[Button2-" + t + u"]\r\nName=Last\r\nBtnRect=10,60,150,90\r\nPath=tools\\probe.exe\r\n"
                       u"Args=/last\r\nExit=true\r\n"
                       u"[Button3-" + t + u"]\r\nName=Quit\r\nBtnRect=10,100,150,130\r\nExit=true\r\n";
        }
        disc.Folder().Write("install.ini",
                            fixture::Utf16Le(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=3\r\nLanguageCount=2\r\n"
                                             u"BtnColorBk=0,0,64\r\nBtnColorHi=255,255,255\r\nBtnColorLo=128,128,128\r\n"
                                             u"BulletColorHi=255,0,0\r\nBulletColorLo=0,255,0\r\n"
                                             u"[Languages]\r\nlanguage1=0x09,0\r\nlanguage2=0x07,0\r\n"
                                             u"[LangCombo-0x09]\r\nBtnRect=200,10,310,100\r\n0x09=English\r\n0x07=Deutsch\r\n"
                                             u"[LangCombo-0x07]\r\nBtnRect=200,10,310,100\r\n0x09=Englisch\r\n0x07=Deutsch\r\n"
                                             u"[Prompt-0x09]\r\nAppName=English menu\r\n"
                                             u"[Prompt-0x07]\r\nAppName=Deutsches Men\u00FC\r\n" +
                                             buttons));
    }

    // Starts the menu and waits until its buttons are drawn.
    HWND Open(MenuProcess& menu) {
        HWND window = menu.WaitForWindow(kMenuClass);
        if (window != nullptr && !WaitForPixel(window, 12, 35, kBulletLo)) return nullptr;
        return window;
    }

    Disc disc;
    ProbeLog log;
};

TEST_F(Interaction, HoverHighlightsTheButton) {
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = Open(menu);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(HoverUntilLit(window, 100, 35));
    input::MoveTo(window, 100, 150);
    EXPECT_TRUE(WaitForPixel(window, 12, 35, kBulletLo));
}

TEST_F(Interaction, AClickStartsTheButtonsProgramInItsFolder) {
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = Open(menu);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(HoverUntilLit(window, 100, 35)) << "the press comes after the move has highlighted";
    input::LeftDown();
    input::LeftUp();
    ASSERT_TRUE(log.WaitForLines(1));
    const std::string line = log.Lines()[0];
    EXPECT_EQ(CommandLineOf(line), "\"" + disc.Folder().Path() + "tools\\probe.exe\" /greet");
    EXPECT_EQ(FolderOf(line), disc.Folder().Path() + "tools");
    CloseAndExpectExitZero(menu, window);
}

TEST_F(Interaction, ADragOffTheButtonStartsNothing) {
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = Open(menu);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(HoverUntilLit(window, 100, 35)) << "the press comes after the move has highlighted";
    input::LeftDown();
    input::MoveTo(window, 250, 200);
    EXPECT_TRUE(WaitForPixel(window, 12, 35, kBulletLo)) << "off the armed button, nothing is highlighted";
    input::LeftUp();
    EXPECT_FALSE(log.WaitForLines(1, 1500));
    CloseAndExpectExitZero(menu, window);
}

TEST_F(Interaction, EnterStartsTheHighlightedButtonAndEscapeEndsTheMenu) {
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = Open(menu);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(HoverUntilLit(window, 100, 35));
    input::Tap(VK_RETURN);
    ASSERT_TRUE(log.WaitForLines(1));
    EXPECT_EQ(CommandLineOf(log.Lines()[0]), "\"" + disc.Folder().Path() + "tools\\probe.exe\" /greet");
    input::Tap(VK_ESCAPE);
    ExpectExitZero(menu);
}

TEST_F(Interaction, AnExitButtonEndsTheMenuAfterItsProgramStarted) {
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = Open(menu);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(HoverUntilLit(window, 100, 75)) << "the press comes after the move has highlighted";
    input::LeftDown();
    input::LeftUp();
    ExpectExitZero(menu);
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(CommandLineOf(log.Lines()[0]), "\"" + disc.Folder().Path() + "tools\\probe.exe\" /last");
}

TEST_F(Interaction, AButtonWithoutAProgramOnlyEndsTheMenu) {
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = Open(menu);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(HoverUntilLit(window, 100, 115)) << "the press comes after the move has highlighted";
    input::LeftDown();
    input::LeftUp();
    ExpectExitZero(menu);
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(Interaction, TheLanguageListChangesTheMenusLanguage) {
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = Open(menu);
    ASSERT_NE(window, nullptr);
    HWND list = FindWindowExA(window, nullptr, "ComboBox", nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 0);

    // From the last button, Tab moves to the list; Down chooses the next language.
    ASSERT_TRUE(HoverUntilLit(window, 100, 115));
    input::Tap(VK_TAB);
    EXPECT_TRUE(WaitForPixel(window, 12, 115, kBulletLo));
    input::Tap(VK_DOWN);
    char title[64] = {};
    for (int attempt = 0; attempt < 100; ++attempt) {
        GetWindowTextA(window, title, sizeof title);
        if (std::string(title) != "Tessaline") break;
        PumpMessagesFor(20);
    }
    PumpMessagesFor(500);
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Deutsches Men\xFC");
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 1);
    wchar_t entry[64] = {};
    SendMessageW(list, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, L"Englisch") << "the list is refilled in the new language";

    // The first button now starts with the German caption: Tab back onto it.
    input::Tap(VK_TAB);
    input::Tap(VK_RETURN);
    ASSERT_TRUE(log.WaitForLines(1));
    input::Tap(VK_ESCAPE);
    ExpectExitZero(menu);
}

TEST_F(Interaction, TheUnattendedRunStartsEveryProgramInOrderAndEnds) {
    disc.Folder().Write("install.ini",
                        fixture::Utf16Le(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2\r\n"
                                         u"[Button1-]\r\nPath=never.exe\r\nPreRun=tools\\probe.exe\r\nPreArgs=/pre1\r\n"
                                         u"SilentPath=tools\\probe.exe\r\nSilentArgs=/main1\r\n"
                                         u"[Button2-]\r\nPreRun=tools\\probe.exe\r\nPreArgs=/pre2\r\n"
                                         u"SilentPath=tools\\probe.exe\r\nSilentArgs=/main2\r\n"));
    MenuProcess menu(disc.ExePath(), "-s", disc.Folder().Path());
    ExpectExitZero(menu);
    const std::vector<std::string> lines = log.Lines();
    ASSERT_EQ(lines.size(), 4u);
    const char* expected[] = {"/pre1", "/pre2", "/main1", "/main2"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(CommandLineOf(lines[i]), "\"" + disc.Folder().Path() + "tools\\probe.exe\" " + expected[i]);
    }
}

TEST_F(Interaction, ASecondStartLeavesTheOpenMenuInFront) {
    MenuProcess first(disc.ExePath(), "", disc.Folder().Path());
    HWND window = Open(first);
    ASSERT_NE(window, nullptr);
    MenuProcess second(disc.ExePath(), "", disc.Folder().Path());
    ExpectExitZero(second);
    EXPECT_EQ(GetForegroundWindow(), window);
    EXPECT_EQ(first.WaitForWindow(kMenuClass, 0), window) << "the first menu stays open";
    CloseAndExpectExitZero(first, window);
}

}  // namespace
