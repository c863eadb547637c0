// The program from its entry point, over the recording platform stand-in:
// the early stops, the order of start-up's steps, every way it stops and
// what each shows, and the window it opens.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/entry.h"
#include "config/ini_reader.h"
#include "config/menu_model.h"
#include "config_fixture.h"
#include "ini_fixture.h"
#include "support/expect_calls.h"

namespace {

const std::string kClass = "Quorvan Belmira Autorun";
const char* const kUnknownFailure = "An unknown error has occured, and the application will now exit";

const std::u16string kIni =
    u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2\r\n"
    u"[Button1-]\r\nName=One\r\nPath=setup.exe\r\nSilentPath=setup.exe\r\nSilentArgs=/s\r\n"
    u"[Button2-]\r\nName=Two\r\n";

Call Box(const std::string& text, const std::string& title, uint32_t icon) {
    return Call{Op::ShowMessageBox, {text, title}, {icon}, nullptr};
}

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
        fake.ownModulePath = folder + "tessaline.exe";
        fake.bitmapFiles["back.bmp"].size = Size{400, 300};
        files.WriteIni(ini, "disc\\install.ini");
    }

    IniFixture files;
    std::string folder;
};

TEST_F(StartupSequence, StepsRunInOrderAndTheWindowOpensCentredOverThePicture) {
    EXPECT_EQ(RunProgram(""), 0);
    // The picture's size in the 1024 x 738 work area.
    EXPECT_CALLS({{Op::RestrictLibrarySearchToSystemFolder},
                  {Op::LoadSystemLibrary, {"cfgmgr32.dll"}},
                  {Op::FindTopLevelWindow, {kClass}},
                  {Op::OwnModulePath},
                  {Op::QuerySystemVersion},
                  {Op::ReadMachineValue, {"SYSTEM\\CurrentControlSet\\Control\\ProductOptions", "ProductType"}},
                  {Op::CreateDisplayInfo},
                  {Op::DisplayColorCount},
                  {Op::LoadBitmapFile, {"back.bmp"}, {0x0012}},
                  {Op::BitmapSize},
                  {Op::RegisterWindowClass, {kClass}, {110}},
                  {Op::CreateTopLevelWindow, {kClass, "Tessaline"}, {0x00010100, 0x80000000, 312, 219, 400, 300}},
                  {Op::ShowTopLevelWindow, {}, {5}},
                  {Op::PaintNow},
                  {Op::DispatchNextMessage},
                  {Op::UnregisterWindowClass, {kClass}},
                  {Op::ReleaseDisplayInfo}},
                 {Op::RestrictLibrarySearchToSystemFolder, Op::LoadSystemLibrary, Op::FindTopLevelWindow,
                  Op::OwnModulePath, Op::QuerySystemVersion, Op::ReadMachineValue, Op::CreateDisplayInfo,
                  Op::DisplayColorCount, Op::LoadBitmapFile, Op::BitmapSize, Op::RegisterWindowClass,
                  Op::CreateTopLevelWindow, Op::ShowTopLevelWindow, Op::PaintNow, Op::DispatchNextMessage,
                  Op::UnregisterWindowClass, Op::ReleaseDisplayInfo, Op::ShowMessageBox});
    EXPECT_STREQ(menu.programFolder, folder.c_str());
    EXPECT_EQ(menu.iniPath, folder + "install.ini");
    EXPECT_EQ(menu.osKind, 4);
    EXPECT_EQ(menu.osVersion, 601);
}

TEST_F(StartupSequence, TheSwitchRunsEveryButtonInsideCreationThenShowsTheWindowMinimised) {
    EXPECT_EQ(RunProgram("setup -S"), 0);
    EXPECT_TRUE(menu.unattended);
    const std::string commandLine = "\"" + folder + "setup.exe\" /s";
    EXPECT_CALLS({{Op::CreateTopLevelWindow, {kClass, "Tessaline"}, {0x00010100, 0x20CA0000, 312, 219, 400, 300}},
                  {Op::CreateProcessFromCommandLine, {commandLine, files.folder + "/disc"}, {0x08000020, 0x41, 6}},
                  {Op::PostQuitRequest},
                  {Op::ShowTopLevelWindow, {}, {6}}},
                 {Op::CreateTopLevelWindow, Op::CreateProcessFromCommandLine, Op::PostQuitRequest,
                  Op::ShowTopLevelWindow});
}

// The switch's window has a caption, and so a frame. Start-up grows the
// centred client rectangle by it; with languages offered, the language's
// pass places the client rectangle again, without a frame (the window does
// not exist yet), and the grown window opens at its corner.
TEST_F(StartupSequence, AFramedWindowIsCentredWithItsFrameOnlyWithoutLanguages) {
    const struct {
        const char* what;
        std::u16string ini;
        std::vector<int64_t> creation;  // style, position and size
        Rect windowRect;
    } cases[] = {
        {"no languages", kIni, {0x00010100, 0x20CA0000, 309, 197, 406, 325}, Rect{309, 197, 715, 522}},
        {"the user's language offered",
         u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2\r\nLanguageCount=1\r\n"
         u"[Languages]\r\nlanguage1=0x09,0\r\n",
         {0x00010100, 0x20CA0000, 312, 219, 406, 325}, Rect{312, 219, 712, 519}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Start(c.ini);
        fake.frame = Rect{-3, -22, 3, 3};
        EXPECT_EQ(RunProgram("-s"), 0);
        EXPECT_CALLS({{Op::CreateTopLevelWindow, {kClass, "Tessaline"}, c.creation}}, {Op::CreateTopLevelWindow});
        EXPECT_EQ(menu.windowRect, c.windowRect);
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
        SCOPED_TRACE("library " + std::to_string(c.present) + ", function " + std::to_string(c.hasWait) +
                     ", result " + std::to_string(c.result));
        Start();
        if (c.present) fake.systemLibraries = {"cfgmgr32.dll"};
        if (!c.hasWait) fake.failing = {{Op::CallWaitNoPendingInstallEvents}};
        fake.installWaitResult = c.result;
        EXPECT_EQ(RunProgram("-s"), 0);
        std::vector<Call> expected = {{Op::RestrictLibrarySearchToSystemFolder},
                                      {Op::LoadSystemLibrary, {"cfgmgr32.dll"}}};
        if (c.present) {
            expected.push_back({Op::CallWaitNoPendingInstallEvents, {}, {0}});
            expected.push_back({Op::UnloadLibrary});
        }
        if (c.pending) {
            EXPECT_CALLS(expected);  // and nothing else
        } else {
            expected.push_back({Op::ShowTopLevelWindow, {}, {6}});
            EXPECT_CALLS(expected, {Op::RestrictLibrarySearchToSystemFolder, Op::LoadSystemLibrary,
                                    Op::CallWaitNoPendingInstallEvents, Op::UnloadLibrary, Op::ShowTopLevelWindow});
        }
    }
}

TEST_F(StartupSequence, ASecondStartBringsTheOpenMenuAndItsPopupForwardAndEnds) {
    const platform::Window open = FakeWindow(50);
    for (const platform::Window popup : {platform::Window{nullptr}, FakeWindow(51)}) {
        Start();
        fake.topLevelWindow = open;
        fake.lastActivePopup = popup;
        EXPECT_EQ(RunProgram("-s"), 0);
        std::vector<Call> expected = {{Op::RestrictLibrarySearchToSystemFolder},
                                      {Op::LoadSystemLibrary, {"cfgmgr32.dll"}},
                                      {Op::FindTopLevelWindow, {kClass}},
                                      {Op::BringToForeground, {}, {}, open},
                                      {Op::LastActivePopup, {}, {}, open}};
        if (popup != nullptr) expected.push_back({Op::BringToForeground, {}, {}, popup});
        EXPECT_CALLS(expected);  // and nothing after the hand-over
        EXPECT_FALSE(menu.unattended) << "the switch is not even read";
    }
}

// The configuration pass reads the sections of the language it is asked
// for, the user's; only when the default offered language has another tag
// are they read again in that one. Each pass makes the copyright font.
TEST_F(StartupSequence, TheDefaultLanguageIsReadAgainOnlyWhenItsTagIsNotTheUsers) {
    const struct {
        const char* what;
        uint16_t user;
        int passes;
    } cases[] = {
        {"the user's own", 0x0409, 1},
        {"not offered: the first", 0x0411, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Start(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2\r\nLanguageCount=2\r\n"
              u"[Languages]\r\nlanguage1=0x09,0\r\nlanguage2=0x07,0\r\n"
              u"[LangCombo-0x09]\r\n0x09=English,English\r\n0x07=Deutsch,German\r\n"
              u"[Prompt-0x09]\r\nAppName=Nine\r\n");
        fake.userDefaultLanguageId = c.user;
        fake.installedLocales = {"00000409", "00000407"};
        EXPECT_EQ(RunProgram(""), 0);
        EXPECT_EQ(Count(Op::CreateTopLevelWindow), 1);
        EXPECT_EQ(std::u16string(menu.title), u"Nine");
        EXPECT_EQ((std::vector<std::u16string>{menu.languageNames[0], menu.languageNames[1]}),
                  (std::vector<std::u16string>{u"English", u"Deutsch"}));
        EXPECT_EQ(Count(Op::CreateFontFrom), c.passes);
    }
}

// Every way start-up stops: the exit code is 0, no window is shown and no
// message loop runs, the display's information context is released, and
// what the user is told.
TEST_F(StartupSequence, EveryStopShowsItsMessageOrNoneAndExitsWithZero) {
    const std::string iniPath = files.folder + "/disc\\install.ini";
    const struct {
        const char* what;
        std::function<void()> arrange;
        std::vector<Call> boxes;
    } cases[] = {
        {"the own path holds no backslash", [] { fake.ownModulePath = "tessaline.exe"; }, {}},
        {"install.ini is missing", [&] { fake.ownModulePath = files.folder + "/elsewhere\\tessaline.exe"; },
         {Box("Error opening file:  " + files.folder + "/elsewhere\\install.ini", "Application error", 0x30)}},
        // What fits of a longer path is cut at its last backslash as any other.
        {"the own path is longer than its buffer",
         [&] { fake.ownModulePath = files.folder + "/elsewhere\\" + std::string(300, 'x') + "\\tessaline.exe"; },
         {Box("Error opening file:  " + files.folder + "/elsewhere\\install.ini", "Application error", 0x30)}},
        {"install.ini has no byte-order mark", [&] { files.WriteBytes("disc\\install.ini", "[General]\r\n"); },
         {Box("Wrong file type (Must be Little Endian Unicode): '" + iniPath + "'!", "Application error", 0x30)}},
        // Thrown while the display's information context is held.
        {"a failure without a text", [] { fake.throwing = {{Op::DisplayColorCount}}; },
         {Box(kUnknownFailure, "Application error", 0x30)}},
        {"no picture named", [&] { Start(u"[General]\r\nButtonCount=2\r\n"); },
         {Box("Neither BitmapFile256 nor BitmapFile016 were found in the ini file.", "Error", 0x10)}},
        {"the picture does not load", [] { fake.bitmapFiles.clear(); },
         {Box("Couldn't read bit map file back.bmp", "Error", 0x10)}},
        {"the picture's size is unreadable", [] { fake.failing = {{Op::BitmapSize}}; }, {}},
        {"the configuration fails", [&] { Start(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=1\r\n"); },
         {Box("Couldn't read ini file at " + iniPath, "Error", 0x10)}},
        {"the class is not registered", [] { fake.failing = {{Op::RegisterWindowClass}}; }, {}},
        {"the language is not installed",
         [&] {
             Start(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2\r\nLanguageCount=1\r\n"
                   u"[Languages]\r\nlanguage1=0x07,0\r\n");
             fake.installedLocales = {"00000409"};
         },
         {Box("This program cannot run because the requested\nlanguage is not supported on this system",
              "Unsupported Language", 0x30)}},
        // Without a window no quit request would come: the loop would wait
        // for ever in a process nobody sees.
        {"the window cannot be created", [] { fake.failing = {{Op::CreateTopLevelWindow}}; },
         {Box(kUnknownFailure, "Application error", 0x30)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Start();
        c.arrange();
        EXPECT_EQ(RunProgram(""), 0);
        EXPECT_CALLS(c.boxes, {Op::ShowMessageBox, Op::ShowTopLevelWindow, Op::DispatchNextMessage});
        EXPECT_EQ(Count(Op::ReleaseDisplayInfo), Count(Op::CreateDisplayInfo));
    }
}

}  // namespace
