// tessaline.exe started for real under Wine: how start-up ends, what it says.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/menu_process.h"
#include "support/fixture_bytes.h"

namespace {

constexpr const char* kMenuClass = "Quorvan Belmira Autorun";
constexpr DWORD kExitLimitMs = 20000;

// Starts the disc's menu, expects one message box, checks and dismisses it,
// and expects the process to end with exit code 0.
void ExpectMessageThenExit(const Disc& disc, const std::string& caption, const std::string& text,
                           const std::string& workingFolder = "") {
    MenuProcess menu(disc.ExePath(), "", workingFolder.empty() ? disc.Folder().Path() : workingFolder);
    HWND box = menu.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no message box; expected: " << text;
    const MessageBoxContent content = ReadMessageBox(box);
    EXPECT_EQ(content.caption, caption);
    EXPECT_EQ(content.text, text);
    DismissMessageBox(box);
    DWORD exitCode = 1;
    ASSERT_TRUE(menu.WaitForExit(kExitLimitMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

std::string Ini(const std::u16string& text) {
    return fixture::Utf16Le(text);
}

TEST(StartUp, WithoutInstallIniTheOpenFailureIsShown) {
    Disc disc;
    ExpectMessageThenExit(disc, "Application error", "Error opening file:  " + disc.IniPath());
}

TEST(StartUp, AnInstallIniInUtf8IsTheWrongType) {
    Disc disc;
    disc.Folder().Write("install.ini", "\xEF\xBB\xBF[General]\r\nBitmapFile256=a.bmp\r\n");
    ExpectMessageThenExit(disc, "Application error",
                          "Wrong file type (Must be Little Endian Unicode): '" + disc.IniPath() + "'!");
}

TEST(StartUp, InstallIniIsTakenFromTheProgramsFolderNotTheWorkingFolder) {
    Disc disc;
    TempFolder elsewhere;
    elsewhere.Write("install.ini", Ini(u"[General]\r\nBitmapFile256=a.bmp\r\n"));
    ExpectMessageThenExit(disc, "Application error", "Error opening file:  " + disc.IniPath(), elsewhere.Path());
}

TEST(StartUp, WithoutABitmapNameTheMenuStops) {
    Disc disc;
    disc.Folder().Write("install.ini", Ini(u"[General]\r\nButtonCount=2\r\nBitmapFile256=\r\n"));
    ExpectMessageThenExit(disc, "Error", "Neither BitmapFile256 nor BitmapFile016 were found in the ini file.");
}

TEST(StartUp, AnUnreadableBitmapIsNamedAsWritten) {
    Disc disc;
    disc.Folder().Write("install.ini", Ini(u"[General]\r\nBitmapFile256=pictures\\missing.bmp\r\n"));
    ExpectMessageThenExit(disc, "Error", "Couldn't read bit map file pictures\\missing.bmp");
}

TEST(StartUp, ABitmapNameIsResolvedAgainstTheWorkingFolder) {
    Disc disc;
    TempFolder elsewhere;
    elsewhere.Write("back.bmp", fixture::PlainBitmap(40, 30, {0, 0, 255}));
    disc.Folder().Write("install.ini", Ini(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2\r\n"));
    // Not found beside the program...
    ExpectMessageThenExit(disc, "Error", "Couldn't read bit map file back.bmp");
    // ...but found in the working folder.
    MenuProcess menu(disc.ExePath(), "", elsewhere.Path());
    HWND window = menu.WaitForWindow(kMenuClass);
    ASSERT_NE(window, nullptr);
    CloseAndExpectExitZero(menu, window);
}

TEST(StartUp, ShowsTheMenuWindowAndClosesOnRequest) {
    Disc disc;
    disc.Folder().Write("back.bmp", fixture::PlainBitmap(64, 48, {200, 16, 32}));
    disc.Folder().Write("install.ini", Ini(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2\r\n"));
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = menu.WaitForWindow(kMenuClass);
    ASSERT_NE(window, nullptr);

    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Tessaline");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & WS_CAPTION, 0u) << "no caption, no border";
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 64);
    EXPECT_EQ(client.bottom, 48);
    // Centred on the work area of the 1024 x 768 test screen.
    RECT placed;
    GetWindowRect(window, &placed);
    EXPECT_EQ(placed.left, (1024 - 64) / 2);
    EXPECT_EQ(placed.top, (768 - 48) / 2);

    // The picture is on screen: poll the window's centre until it is painted.
    POINT centre = {32, 24};
    ClientToScreen(window, &centre);
    HDC screen = GetDC(nullptr);
    COLORREF seen = CLR_INVALID;
    for (int attempt = 0; attempt < 100 && seen != RGB(200, 16, 32); ++attempt) {
        PumpMessagesFor(20);
        seen = GetPixel(screen, centre.x, centre.y);
    }
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(seen, RGB(200, 16, 32));

    CloseAndExpectExitZero(menu, window);
}

// A window of the menu's class, as an open menu has it.
class OpenMenuWindow {
public:
    OpenMenuWindow() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kMenuClass;
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, kMenuClass, "open menu", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    }
    ~OpenMenuWindow() {
        DestroyWindow(window);
        UnregisterClassA(kMenuClass, GetModuleHandleA(nullptr));
    }
    HWND window;
};

TEST(StartUp, ASecondStartHandsOverToTheOpenMenuAndEndsSilently) {
    OpenMenuWindow open;
    ASSERT_NE(open.window, nullptr);
    // A disc without install.ini: a copy that did not hand over would show its open failure.
    Disc disc;
    MenuProcess second(disc.ExePath(), "-s", disc.Folder().Path());
    DWORD exitCode = 1;
    ASSERT_TRUE(second.WaitForExit(kExitLimitMs, &exitCode)) << "the second copy did not end";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(second.WaitForMessageBox(0), nullptr);
}

// Wine's per-program library load order, set for the life of the object.
class WineLibraryPreference {
public:
    WineLibraryPreference(const std::string& program, const char* library, const char* order)
        : programKey("Software\\Wine\\AppDefaults\\" + program), overridesKey(programKey + "\\DllOverrides") {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, overridesKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr) == ERROR_SUCCESS) {
            RegSetValueExA(key, library, 0, REG_SZ, reinterpret_cast<const BYTE*>(order), lstrlenA(order) + 1);
            RegCloseKey(key);
        }
    }
    ~WineLibraryPreference() {
        RegDeleteKeyA(HKEY_CURRENT_USER, overridesKey.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, programKey.c_str());
    }

private:
    std::string programKey;
    std::string overridesKey;
};

TEST(StartUp, ALibraryPlantedBesideTheProgramOrInTheWorkingFolderIsNeverLoaded) {
    const std::string planted = OwnFolder() + "planted\\cfgmgr32.dll";
    Disc disc;
    disc.Folder().CopyIn(planted, "cfgmgr32.dll");
    TempFolder working;
    working.CopyIn(planted, "cfgmgr32.dll");

    // Wine prefers its own built-in library by default, where Windows would
    // take a file of that name from the program's folder: make Wine behave
    // like Windows for the menu while this test runs.
    WineLibraryPreference nativeFirst("tessaline.exe", "cfgmgr32", "native,builtin");

    // Loaded, it would claim pending installations and end the menu silently.
    ExpectMessageThenExit(disc, "Application error", "Error opening file:  " + disc.IniPath(), working.Path());
    EXPECT_FALSE(disc.Folder().Exists("planted-library-was-loaded"));
    EXPECT_FALSE(working.Exists("planted-library-was-loaded"));
}

TEST(StartUp, NoLibraryThatTheWindowSystemLoadsIsTakenFromBesideTheProgramOrTheWorkingFolder) {
    Disc disc;
    TempFolder working;
    disc.Folder().Write("back.bmp", fixture::PlainBitmap(64, 48, {10, 20, 30}));
    disc.Folder().Write("install.ini", Ini(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2\r\nLanguageCount=2\r\n"
                                           u"[Languages]\r\nlanguage1=0x09\r\nlanguage2=0x07\r\n"));
    // The theme library and the common controls (the language list) come
    // after start-up, searched for by name.
    const char* libraries[] = {"uxtheme", "comctl32"};
    std::vector<WineLibraryPreference> nativeFirst;
    nativeFirst.reserve(2);
    for (const char* library : libraries) {
        const std::string planted = OwnFolder() + "planted\\" + library + ".dll";
        disc.Folder().CopyIn(planted, std::string(library) + ".dll");
        working.CopyIn(planted, std::string(library) + ".dll");
        nativeFirst.emplace_back("tessaline.exe", library, "native,builtin");
    }

    MenuProcess menu(disc.ExePath(), "", working.Path());
    HWND window = menu.WaitForWindow(kMenuClass);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(FindWindowExA(window, nullptr, "ComboBox", nullptr), nullptr) << "the language list is there";
    CloseAndExpectExitZero(menu, window);
    for (const char* library : libraries) {
        const std::string marker = std::string(library) + ".dll-was-loaded";
        EXPECT_FALSE(disc.Folder().Exists(marker)) << marker << " beside the program";
        EXPECT_FALSE(working.Exists(marker)) << marker << " in the working folder";
    }
}

TEST(StartUp, TheShellLibraryLoadedForAnOpenIsNeverTakenFromBesideTheProgramOrTheWorkingFolder) {
    Disc disc;
    TempFolder working;
    const std::string planted = OwnFolder() + "planted\\shell32.dll";
    disc.Folder().CopyIn(planted, "shell32.dll");
    working.CopyIn(planted, "shell32.dll");
    WineLibraryPreference nativeFirst("tessaline.exe", "shell32", "native,builtin");
    disc.Folder().Write("back.bmp", fixture::PlainBitmap(32, 32, {1, 2, 3}));
    // The unattended run opens the missing document at once: no program
    // starts, so the shell is asked, and says why it could not open it.
    disc.Folder().Write("install.ini", Ini(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2\r\n"
                                           u"[Button1-]\r\nSilentPath=missing.tessdoc\r\n"));

    MenuProcess menu(disc.ExePath(), "/S", working.Path());
    HWND box = menu.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    const MessageBoxContent content = ReadMessageBox(box);
    EXPECT_EQ(content.caption, "Could not launch");
    const std::string expected = "Could not launch file \"" + disc.Folder().Path() + "missing.tessdoc\".\n\nError ";
    EXPECT_EQ(content.text.substr(0, expected.size()), expected);
    DismissMessageBox(box);
    ExpectExitZero(menu);
    EXPECT_FALSE(disc.Folder().Exists("shell32.dll-was-loaded"));
    EXPECT_FALSE(working.Exists("shell32.dll-was-loaded"));
}

TEST(StartUp, TheUnattendedSwitchEndsWithExitCodeZero) {
    Disc disc;
    disc.Folder().Write("back.bmp", fixture::PlainBitmap(32, 32, {1, 2, 3}));
    disc.Folder().Write("install.ini", Ini(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2\r\n"));
    MenuProcess menu(disc.ExePath(), "/S", disc.Folder().Path());
    DWORD exitCode = 1;
    ASSERT_TRUE(menu.WaitForExit(kExitLimitMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
