// The launcher with real processes under Wine: a probe program records the
// command line, working folder and startup settings it was given.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "config/menu_model.h"
#include "config/wide_text.h"
#include "launch/program_launcher.h"
#include "launch/unattended.h"
#include "support/temp_folder.h"

namespace {

constexpr DWORD kLimitMs = 20000;

struct ProbeRecord {
    std::string commandLine;
    std::string folder;
    unsigned long startupFlags;
    unsigned long showState;
    DWORD processId;
    DWORD threadId;
};

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + separator.size()) {
        parts.push_back(text.substr(start, at - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

// The log that every probe started during a test appends to, named to the
// probes through the environment they inherit.
class ProbeLog {
public:
    ProbeLog() : path(folder.Path() + "probe.log") { SetEnvironmentVariableA("TESSALINE_PROBE_LOG", path.c_str()); }
    ~ProbeLog() { SetEnvironmentVariableA("TESSALINE_PROBE_LOG", nullptr); }

    std::vector<ProbeRecord> Records() const {
        std::vector<ProbeRecord> records;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return records;
        std::string text(GetFileSize(file, nullptr), '\0');
        DWORD read = 0;
        ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
        CloseHandle(file);
        for (const std::string& line : Split(text.substr(0, read), "\r\n")) {
            const std::vector<std::string> f = Split(line, "\t");
            if (f.size() != 6) continue;
            records.push_back({f[0], f[1], std::stoul(f[2]), std::stoul(f[3]), static_cast<DWORD>(std::stoul(f[4])),
                               static_cast<DWORD>(std::stoul(f[5]))});
        }
        return records;
    }

    // For launches that the shell makes, which do not wait for the program.
    std::vector<ProbeRecord> WaitForRecords(size_t count) const {
        const DWORD start = GetTickCount();
        std::vector<ProbeRecord> records = Records();
        while (records.size() < count && GetTickCount() - start < kLimitMs) {
            Sleep(20);
            records = Records();
        }
        return records;
    }

private:
    TempFolder folder;
    std::string path;
};

struct SeenBox {
    std::string caption;
    std::string text;
    bool topmost;
};

BOOL CALLBACK FindOwnMessageBox(HWND window, LPARAM parameter) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == GetCurrentProcessId() && IsWindowVisible(window) && lstrcmpA(className, "#32770") == 0) {
        *reinterpret_cast<HWND*>(parameter) = window;
        return FALSE;
    }
    return TRUE;
}

// Reads and dismisses every message box that this process shows while the
// object lives: the launcher's warning blocks the thread that shows it.
class MessageBoxWatcher {
public:
    MessageBoxWatcher() : thread([this] { Watch(); }) {}
    ~MessageBoxWatcher() { Finish(); }

    // Stops watching; the boxes seen so far.
    const std::vector<SeenBox>& Finish() {
        stop = true;
        if (thread.joinable()) thread.join();
        return seen;
    }

private:
    void Watch() {
        const DWORD start = GetTickCount();
        while (!stop && GetTickCount() - start < 2 * kLimitMs) {
            HWND box = nullptr;
            EnumWindows(FindOwnMessageBox, reinterpret_cast<LPARAM>(&box));
            if (box != nullptr) {
                char caption[256] = {};
                char text[1024] = {};
                GetWindowTextA(box, caption, sizeof caption);
                GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
                const bool topmost = (GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
                seen.push_back({caption, text, topmost});
                SendMessageA(box, WM_COMMAND, IDOK, 0);
                while (IsWindow(box) && GetTickCount() - start < 2 * kLimitMs) Sleep(10);
            }
            Sleep(10);
        }
    }

    std::vector<SeenBox> seen;
    std::atomic<bool> stop{false};
    std::thread thread;
};

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Ends a probe that waits for messages, and waits until it has gone.
bool EndProbe(const ProbeRecord& probe) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, probe.processId);
    PostThreadMessageA(probe.threadId, WM_QUIT, 0, 0);
    const bool ended = process != nullptr && WaitForSingleObject(process, kLimitMs) == WAIT_OBJECT_0;
    if (process != nullptr) CloseHandle(process);
    return ended;
}

// A disc folder with probes in it; the menu's programFolder points at it.
class Launcher : public ::testing::Test {
protected:
    void SetUp() override {
        menu = Menu{};
        const std::string& path = disc.Path();
        ASSERT_LT(path.size(), sizeof menu.programFolder);
        std::memcpy(menu.programFolder, path.c_str(), path.size() + 1);
    }
    void TearDown() override { menu = Menu{}; }

    // Copies the probe into the disc folder as `name` (sub-folders included).
    void PlaceProbe(const std::string& name) {
        for (size_t slash = name.find('\\'); slash != std::string::npos; slash = name.find('\\', slash + 1)) {
            CreateDirectoryA((disc.Path() + name.substr(0, slash)).c_str(), nullptr);
        }
        disc.CopyIn(OwnFolder() + "launch_probe.exe", name);
    }

    // The disc folder without its final backslash, as a working folder reads.
    std::string DiscFolder() const { return disc.Path().substr(0, disc.Path().size() - 1); }

    TempFolder disc;
    ProbeLog log;
};

TEST_F(Launcher, StartsTheProgramWithItsQuotedCommandLineInItsFolder) {
    PlaceProbe("tools\\probe.exe");
    PlaceProbe("probe.exe");
    const struct {
        const char16_t* program;
        const char16_t* arguments;
        std::string commandLine;
        std::string folder;
    } cases[] = {
        {u"tools\\probe.exe", u"/q", "\"" + disc.Path() + "tools\\probe.exe\" /q", DiscFolder() + "\\tools"},
        // The space after the closing quote is there without arguments too.
        {u"tools\\probe.exe", u"", "\"" + disc.Path() + "tools\\probe.exe\" ", DiscFolder() + "\\tools"},
        {u"probe.exe", u"\"two words\"  x", "\"" + disc.Path() + "probe.exe\" \"two words\"  x", DiscFolder()},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(LaunchProgram(c.program, c.arguments));
    }
    const std::vector<ProbeRecord> records = log.Records();
    ASSERT_EQ(records.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(records[i].commandLine, cases[i].commandLine);
        EXPECT_EQ(records[i].folder, cases[i].folder);
        EXPECT_EQ(records[i].startupFlags, static_cast<DWORD>(STARTF_USESHOWWINDOW | STARTF_FORCEONFEEDBACK));
        EXPECT_EQ(records[i].showState, static_cast<DWORD>(SW_SHOWNORMAL));
    }
}

TEST_F(Launcher, ReturnsOnlyWhenTheStartedProgramIsIdle) {
    PlaceProbe("probe.exe");
    // The probe takes 700 ms before it records itself and becomes idle, and
    // then stays until it is told to end.
    EXPECT_TRUE(LaunchProgram(u"probe.exe", u"/slow /stay"));
    EXPECT_EQ(log.Records().size(), 1u) << "the launcher returned before the program was idle";
    const std::vector<ProbeRecord> records = log.WaitForRecords(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_TRUE(EndProbe(records[0]));
}

// The probe as the program that opens documents of a made-up type.
class ProbeOpensDocuments {
public:
    explicit ProbeOpensDocuments(const std::string& probe) {
        SetDefault(".tessprobe", "tessprobe.document");
        SetDefault("tessprobe.document\\shell\\open\\command", "\"" + probe + "\" \"%1\"");
    }
    ~ProbeOpensDocuments() {
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "tessprobe.document\\shell\\open\\command");
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "tessprobe.document\\shell\\open");
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "tessprobe.document\\shell");
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "tessprobe.document");
        RegDeleteKeyA(HKEY_CLASSES_ROOT, ".tessprobe");
    }
    ProbeOpensDocuments(const ProbeOpensDocuments&) = delete;
    ProbeOpensDocuments& operator=(const ProbeOpensDocuments&) = delete;

private:
    static void SetDefault(const char* keyPath, const std::string& value) {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ==
            ERROR_SUCCESS) {
            RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1));
            RegCloseKey(key);
        }
    }
};

TEST_F(Launcher, ADocumentIsHandedToTheShellWithoutAWarning) {
    PlaceProbe("viewer\\probe.exe");
    ProbeOpensDocuments association(disc.Path() + "viewer\\probe.exe");
    disc.Write("docs\\readme.tessprobe", "not a program");
    MessageBoxWatcher boxes;
    EXPECT_FALSE(LaunchProgram(u"docs\\readme.tessprobe", u""));
    const std::vector<ProbeRecord> records = log.WaitForRecords(1);
    EXPECT_TRUE(boxes.Finish().empty());
    ASSERT_EQ(records.size(), 1u) << "the shell did not open the document";
    EXPECT_NE(records[0].commandLine.find(disc.Path() + "docs\\readme.tessprobe"), std::string::npos)
        << records[0].commandLine;
    EXPECT_EQ(records[0].showState, static_cast<DWORD>(SW_SHOWNORMAL));
}

struct FolderWindowSearch {
    const char* title;
    HWND found;
};

BOOL CALLBACK FindFolderWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<FolderWindowSearch*>(parameter);
    char title[MAX_PATH] = {};
    GetWindowTextA(window, title, sizeof title);
    if (IsWindowVisible(window) && lstrcmpA(title, search->title) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

TEST_F(Launcher, AnEmptyProgramTextOpensTheProgramFolder) {
    MessageBoxWatcher boxes;
    EXPECT_FALSE(LaunchProgram(u"", u"/x"));
    // The shell shows the folder in a window titled with the folder's name.
    const std::string name = DiscFolder().substr(DiscFolder().rfind('\\') + 1);
    FolderWindowSearch search{name.c_str(), nullptr};
    for (const DWORD start = GetTickCount(); search.found == nullptr && GetTickCount() - start < kLimitMs;) {
        Sleep(20);
        EnumWindows(FindFolderWindow, reinterpret_cast<LPARAM>(&search));
    }
    EXPECT_TRUE(boxes.Finish().empty());
    ASSERT_NE(search.found, nullptr) << "no window shows the folder " << name;
    PostMessageA(search.found, WM_CLOSE, 0, 0);
    for (const DWORD start = GetTickCount(); IsWindow(search.found) && GetTickCount() - start < kLimitMs;) Sleep(20);
    EXPECT_FALSE(IsWindow(search.found));
}

TEST_F(Launcher, WhenTheShellFailsTooAWarningNamesTheFileAndTheError) {
    // A missing program, and an absolute path, which is appended to the
    // program folder like any other program text.
    const char16_t* programs[] = {u"missing.exe", u"C:\\windows\\system32\\notepad.exe"};
    const std::string fullPaths[] = {disc.Path() + "missing.exe", disc.Path() + "C:\\windows\\system32\\notepad.exe"};
    for (int i = 0; i < 2; ++i) {
        MessageBoxWatcher boxes;
        EXPECT_FALSE(LaunchProgram(programs[i], u"/x"));
        const std::vector<SeenBox>& seen = boxes.Finish();
        ASSERT_EQ(seen.size(), 1u) << fullPaths[i];
        EXPECT_EQ(seen[0].caption, "Could not launch");
        EXPECT_TRUE(StartsWith(seen[0].text, "Could not launch file \"" + fullPaths[i] + "\".\n\nError "))
            << seen[0].text;
        EXPECT_TRUE(seen[0].topmost) << "system-modal";
    }
    EXPECT_TRUE(log.Records().empty());
}

TEST_F(Launcher, AnOverLongProgramTextIsRefusedWithError206) {
    // A real program whose path relative to the disc is 132 bytes long.
    const std::string name = std::string(122, 'p') + "\\probe.exe";
    ASSERT_EQ(name.size(), 132u);
    PlaceProbe(name);
    const std::u16string program(name.begin(), name.end());
    MessageBoxWatcher boxes;
    EXPECT_FALSE(LaunchProgram(program.c_str(), u""));
    const std::vector<SeenBox>& seen = boxes.Finish();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Could not launch");
    EXPECT_TRUE(StartsWith(seen[0].text, "Could not launch file \"" + disc.Path() + name + "\".\n\nError 206: "))
        << seen[0].text;
    EXPECT_GT(seen[0].text.size(), std::string("Could not launch file \"" + disc.Path() + name + "\".\n\nError 206: ").size())
        << "the system's text for the error";
    EXPECT_TRUE(log.Records().empty()) << "nothing is started";

    // One byte shorter, the same program starts.
    const std::string shorter = std::string(121, 'p') + "\\probe.exe";
    PlaceProbe(shorter);
    EXPECT_TRUE(LaunchProgram(std::u16string(shorter.begin(), shorter.end()).c_str(), u""));
    EXPECT_EQ(log.Records().size(), 1u);
}

TEST_F(Launcher, UnattendedLaunchesAskForAMinimisedWindow) {
    menu.unattended = true;
    PlaceProbe("probe.exe");
    PlaceProbe("viewer\\probe.exe");
    ProbeOpensDocuments association(disc.Path() + "viewer\\probe.exe");
    disc.Write("readme.tessprobe", "not a program");
    MessageBoxWatcher boxes;
    EXPECT_TRUE(LaunchProgram(u"probe.exe", u"/q"));
    EXPECT_FALSE(LaunchProgram(u"readme.tessprobe", u""));
    const std::vector<ProbeRecord> records = log.WaitForRecords(2);
    EXPECT_TRUE(boxes.Finish().empty());
    ASSERT_EQ(records.size(), 2u);
    for (const ProbeRecord& record : records) {
        EXPECT_EQ(record.startupFlags & STARTF_USESHOWWINDOW, static_cast<DWORD>(STARTF_USESHOWWINDOW));
        EXPECT_EQ(record.showState, static_cast<DWORD>(SW_MINIMIZE)) << record.commandLine;
    }
}

TEST_F(Launcher, TheUnattendedRunStartsEveryProgramInOrderThenAsksToQuit) {
    menu.unattended = true;
    menu.osKind = 4;
    menu.osVersion = 601;
    PlaceProbe("setup\\probe.exe");
    menu.buttonCount = 3;
    const struct {
        const char16_t* preRun;
        const char16_t* preArgs;
        const char16_t* preCond;
        const char16_t* path;
        const char16_t* args;
    } buttons[] = {
        {u"setup\\probe.exe", u"pre1", u"nt,500,0", u"setup\\probe.exe", u"main1"},
        {u"setup\\probe.exe", u"pre-blocked", u"9x,0,0", u"", u""},
        {u"setup\\probe.exe", u"pre3", u"", u"setup\\probe.exe", u"main3"},
    };
    for (int i = 0; i < 3; ++i) {
        CopyWide(menu.buttons[i].preRun, buttons[i].preRun);
        CopyWide(menu.buttons[i].preArgs, buttons[i].preArgs);
        CopyWide(menu.buttons[i].preCond, buttons[i].preCond);
        CopyWide(menu.buttons[i].path, buttons[i].path);
        CopyWide(menu.buttons[i].args, buttons[i].args);
    }
    RunAllUnattended();

    std::vector<std::string> order;
    for (const ProbeRecord& record : log.Records()) {
        order.push_back(record.commandLine.substr(record.commandLine.rfind(' ') + 1));
        EXPECT_EQ(record.showState, static_cast<DWORD>(SW_MINIMIZE));
        EXPECT_EQ(record.folder, DiscFolder() + "\\setup");
    }
    EXPECT_EQ(order, (std::vector<std::string>{"pre1", "pre3", "main1", "main3"}));

    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "no quit request";
}

}  // namespace
