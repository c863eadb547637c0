// The program from its entry point, over the recording platform stand-in:
// the early stops, the order of start-up's steps, every way it stops and
// what each shows, and the window it opens.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/entry.h"
#include "config/ini_reader.h"
#include "config/menu_model.h"
#include "config_fixture.h"
#include "ini_fixture.h"
#include "support/platform_double.h"

namespace {

using Calls = std::vector<std::string>;

const std::u16string kIni =
    u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2\r\n"
    u"[Button1-]\r\nName=One\r\nPath=setup.exe\r\nSilentPath=setup.exe\r\nSilentArgs=/s\r\n"
    u"[Button2-]\r\nName=Two\r\n";

const char* const kUnknownFailure = "An unknown error has occured, and the application will now exit";

class StartupSequence : public ::testing::Test {
protected:
    void SetUp() override { Start(); }
    void TearDown() override { iniReader.Clear(); }

    // A fresh process: the menu's own file in a folder with install.ini
    // (on the host a backslash is part of a file name, so the folder start-up
    // cuts from the path is "<temporary folder>/disc\"), and a picture the
    // loader delivers at 400 x 300.
    void Start(const std::u16string& ini = kIni) {
        menu = Menu{};
        iniReader.Clear();
        ResetPlatformDouble();
        folder = files.folder + "/disc\\";
        fake.ownPath = folder + "tessaline.exe";
        fake.loadableBitmaps["back.bmp"] = Size{400, 300};
        files.WriteIni(ini, "disc\\install.ini");
    }

    std::string IniPath() const { return folder + "install.ini"; }

    bool Called(const std::string& call) const {
        return std::find(fake.calls.begin(), fake.calls.end(), call) != fake.calls.end();
    }

    IniFixture files;
    std::string folder;
};

TEST_F(StartupSequence, StepsRunInOrderAndTheWindowOpensCentredOverThePicture) {
    EXPECT_EQ(RunProgram(""), 0);
    const Calls expected = {
        "RestrictLibrarySearchToSystemFolder",
        "LoadSystemLibrary cfgmgr32.dll",
        "FindTopLevelWindow Quorvan Belmira Autorun",
        "OwnModulePath",
        "QuerySystemVersion",
        "ReadMachineValue SYSTEM\\CurrentControlSet\\Control\\ProductOptions ProductType",
        "CreateDisplayInfo",
        "DisplayColorCount",
        "LoadBitmapFile back.bmp 0x0012",
        "BitmapSize",
        "RegisterWindowClass Quorvan Belmira Autorun 110",
        "CreateTopLevelWindow",
        "ShowTopLevelWindow 5",
        "PaintNow",
        "DispatchNextMessage",
        "UnregisterWindowClass Quorvan Belmira Autorun",
        "ReleaseDisplayInfo",
    };
    EXPECT_EQ(fake.calls, expected);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_STREQ(menu.programFolder, folder.c_str());
    EXPECT_EQ(menu.iniPath, IniPath());
    EXPECT_EQ(menu.osKind, 4);
    EXPECT_EQ(menu.osVersion, 601);

    ASSERT_EQ(fake.windows.size(), 1u);
    const CreatedWindow& window = fake.windows[0];
    EXPECT_EQ(window.extendedStyle, 0x00010100u);
    EXPECT_EQ(window.className, "Quorvan Belmira Autorun");
    EXPECT_EQ(window.title, "Tessaline");
    EXPECT_EQ(window.style, 0x80000000u);
    // The picture's size in the 1024 x 738 work area.
    EXPECT_EQ(window.placement.left, 312);
    EXPECT_EQ(window.placement.top, 219);
    EXPECT_EQ(window.placement.right, 400);
    EXPECT_EQ(window.placement.bottom, 300);
}

TEST_F(StartupSequence, TheSwitchRunsEveryButtonInsideCreationThenShowsTheWindowMinimised) {
    fake.whileStarting = [] { fake.calls.push_back("a program starts"); };
    EXPECT_EQ(RunProgram("setup -S"), 0);
    EXPECT_TRUE(menu.unattended);
    ASSERT_EQ(fake.windows.size(), 1u);
    EXPECT_EQ(fake.windows[0].style, 0x20CA0000u);
    EXPECT_EQ(fake.startedCommandLines, Calls{"\"" + folder + "setup.exe\" /s"});
    const auto creation = std::find(fake.calls.begin(), fake.calls.end(), "CreateTopLevelWindow");
    ASSERT_NE(creation, fake.calls.end());
    EXPECT_EQ(Calls(creation, creation + 3),
              (Calls{"CreateTopLevelWindow", "a program starts", "ShowTopLevelWindow 6"}));
    EXPECT_EQ(fake.quitRequests, 1);
}

// The switch's window has a caption, and so a frame. Start-up grows the
// centred client rectangle by it; with languages offered, the language's
// pass places the client rectangle again, without a frame (the window does
// not exist yet), and the grown window opens at its corner.
TEST_F(StartupSequence, AFramedWindowIsCentredWithItsFrameOnlyWithoutLanguages) {
    const struct {
        const char* what;
        std::u16string ini;
        Rect placement;
        Rect windowRect;
    } cases[] = {
        {"no languages", kIni, Rect{309, 197, 406, 325}, Rect{309, 197, 715, 522}},
        {"the user's language offered",
         u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2\r\nLanguageCount=1\r\n"
         u"[Languages]\r\nlanguage1=0x09,0\r\n",
         Rect{312, 219, 406, 325}, Rect{312, 219, 712, 519}},
    };
    for (const auto& c : cases) {
        Start(c.ini);
        fake.frame = Rect{-3, -22, 3, 3};
        EXPECT_EQ(RunProgram("-s"), 0) << c.what;
        ASSERT_EQ(fake.windows.size(), 1u) << c.what;
        EXPECT_EQ(fake.windows[0].placement, c.placement) << c.what;
        EXPECT_EQ(menu.windowRect, c.windowRect) << c.what;
    }
}

TEST_F(StartupSequence, OnlyTheInstallersPendingAnswerStopsAndItStopsSilently) {
    const struct {
        bool present;
        bool hasWait;
        uint32_t result;
        bool pending;
    } cases[] = {
        {false, false, 0, false}, {true, false, 0, false},  {true, true, 0, false},          {true, true, 1, false},
        {true, true, 257, false}, {true, true, 259, false}, {true, true, 0xFFFFFFFFu, false}, {true, true, 258, true},
    };
    for (const auto& c : cases) {
        Start();
        fake.installerPresent = c.present;
        fake.installerHasWait = c.hasWait;
        fake.installerResult = c.result;
        EXPECT_EQ(RunProgram("-s"), 0);
        const std::string what = "library " + std::to_string(c.present) + ", function " +
                                 std::to_string(c.hasWait) + ", result " + std::to_string(c.result);
        if (c.pending) {
            EXPECT_EQ(fake.calls, (Calls{"RestrictLibrarySearchToSystemFolder", "LoadSystemLibrary cfgmgr32.dll",
                                         "CallWaitNoPendingInstallEvents 0", "UnloadLibrary"}));
            EXPECT_TRUE(fake.boxes.empty());
            EXPECT_TRUE(fake.startedCommandLines.empty());
        }
        EXPECT_EQ(fake.windows.size(), c.pending ? 0u : 1u) << what;
        EXPECT_EQ(Called("UnloadLibrary"), c.present) << what << ": unloaded when loaded";
    }
}

TEST_F(StartupSequence, ASecondStartBringsTheOpenMenuAndItsPopupForwardAndEnds) {
    const platform::Window open = FakeWindow(50);
    const platform::Window popup = FakeWindow(51);
    const struct {
        platform::Window popup;
        std::vector<platform::Window> broughtToFront;
    } cases[] = {{nullptr, {open}}, {popup, {open, popup}}};
    for (const auto& c : cases) {
        Start();
        fake.openMenu = open;
        fake.openMenuPopup = c.popup;
        EXPECT_EQ(RunProgram("-s"), 0);
        EXPECT_EQ(fake.broughtToFront, c.broughtToFront);
        EXPECT_EQ(fake.calls.back(), "FindTopLevelWindow Quorvan Belmira Autorun") << "nothing after the hand-over";
        EXPECT_FALSE(menu.unattended) << "the switch is not even read";
        EXPECT_TRUE(fake.windows.empty());
        EXPECT_TRUE(fake.boxes.empty());
    }
}

// The configuration pass reads the sections of the language it is asked
// for, the user's; only when the default offered language has another tag
// are they read again in that one. Each pass makes the copyright font.
TEST_F(StartupSequence, TheDefaultLanguageIsReadAgainOnlyWhenItsTagIsNotTheUsers) {
    const struct {
        const char* what;
        uint16_t user;
        std::u16string title;
        std::vector<std::u16string> names;
        size_t passes;
    } cases[] = {
        {"the user's own", 0x0409, u"Nine", {u"English", u"Deutsch"}, 1},
        {"not offered: the first", 0x0411, u"Nine", {u"English", u"Deutsch"}, 2},
    };
    for (const auto& c : cases) {
        Start(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2\r\nLanguageCount=2\r\n"
              u"[Languages]\r\nlanguage1=0x09,0\r\nlanguage2=0x07,0\r\n"
              u"[LangCombo-0x09]\r\n0x09=English,English\r\n0x07=Deutsch,German\r\n"
              u"[Prompt-0x09]\r\nAppName=Nine\r\n");
        fake.userLanguageId = c.user;
        fake.installedLocales = {"00000409", "00000407"};
        EXPECT_EQ(RunProgram(""), 0) << c.what;
        EXPECT_EQ(fake.windows.size(), 1u) << c.what;
        EXPECT_EQ(std::u16string(menu.title), c.title) << c.what;
        EXPECT_EQ((std::vector<std::u16string>{menu.languageNames[0], menu.languageNames[1]}), c.names) << c.what;
        EXPECT_EQ(fake.fonts.size(), c.passes) << c.what;
    }
}

// Every way start-up stops: the exit code is 0, no window exists and no
// message loop runs, the display's information context is released, and
// what the user is told.
TEST_F(StartupSequence, EveryStopShowsItsMessageOrNoneAndExitsWithZero) {
    struct Box {
        std::string text;
        std::string title;
        uint32_t icon;
    };
    const std::string iniPath = files.folder + "/disc\\install.ini";
    const struct {
        const char* what;
        std::function<void()> arrange;
        std::vector<Box> boxes;
    } cases[] = {
        {"the own path holds no backslash", [] { fake.ownPath = "tessaline.exe"; }, {}},
        {"install.ini is missing", [&] { fake.ownPath = files.folder + "/elsewhere\\tessaline.exe"; },
         {{"Error opening file:  " + files.folder + "/elsewhere\\install.ini", "Application error", 0x30}}},
        // What fits of a longer path is cut at its last backslash as any other.
        {"the own path is longer than its buffer",
         [&] { fake.ownPath = files.folder + "/elsewhere\\" + std::string(300, 'x') + "\\tessaline.exe"; },
         {{"Error opening file:  " + files.folder + "/elsewhere\\install.ini", "Application error", 0x30}}},
        {"install.ini has no byte-order mark", [&] { files.WriteBytes("disc\\install.ini", "[General]\r\n"); },
         {{"Wrong file type (Must be Little Endian Unicode): '" + iniPath + "'!", "Application error", 0x30}}},
        {"a failure without a text", [] { fake.throwIn = "CreateDisplayInfo"; },
         {{kUnknownFailure, "Application error", 0x30}}},
        {"no picture named", [&] { Start(u"[General]\r\nButtonCount=2\r\n"); },
         {{"Neither BitmapFile256 nor BitmapFile016 were found in the ini file.", "Error", 0x10}}},
        {"the picture does not load", [] { fake.loadableBitmaps.clear(); },
         {{"Couldn't read bit map file back.bmp", "Error", 0x10}}},
        {"the picture's size is unreadable", [] { fake.bitmapSizeReadable = false; }, {}},
        {"the configuration fails", [&] { Start(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=1\r\n"); },
         {{"Couldn't read ini file at " + iniPath, "Error", 0x10}}},
        {"the class is not registered", [] { fake.classRegisters = false; }, {}},
        {"the language is not installed",
         [&] {
             Start(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2\r\nLanguageCount=1\r\n"
                   u"[Languages]\r\nlanguage1=0x07,0\r\n");
             fake.installedLocales = {"00000409"};
         },
         {{"This program cannot run because the requested\nlanguage is not supported on this system",
           "Unsupported Language", 0x30}}},
        // Without a window no quit request would come: the loop would wait
        // for ever in a process nobody sees.
        {"the window cannot be created", [] { fake.windowCreates = false; },
         {{kUnknownFailure, "Application error", 0x30}}},
    };
    for (const auto& c : cases) {
        Start();
        c.arrange();
        EXPECT_EQ(RunProgram(""), 0) << c.what;
        ASSERT_EQ(fake.boxes.size(), c.boxes.size()) << c.what;
        for (size_t i = 0; i < c.boxes.size(); ++i) {
            EXPECT_EQ(fake.boxes[i].owner, nullptr) << c.what;
            EXPECT_EQ(fake.boxes[i].text, c.boxes[i].text) << c.what;
            EXPECT_EQ(fake.boxes[i].caption, c.boxes[i].title) << c.what;
            EXPECT_EQ(fake.boxes[i].flags, c.boxes[i].icon) << c.what;
        }
        EXPECT_TRUE(fake.windows.empty()) << c.what;
        EXPECT_FALSE(Called("DispatchNextMessage")) << c.what;
        EXPECT_EQ(fake.liveDisplayInfos, 0) << c.what;
    }
}

}  // namespace
