// tessaline-check's dry run against tessaline.exe itself, for the system the
// test runs on: the window opens where the dry run says, a click on a button
// starts exactly the command lines, in the working folders, that the dry run
// printed for it, and -s starts what it printed for -s, in that order; and
// the files start-up takes from the disc are named with their sizes as the
// Windows build's checker finds them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/menu_process.h"
#include "support/dry_run_output.h"
#include "support/fixture_bytes.h"

namespace {

constexpr const char* kMenuClass = "Quorvan Belmira Autorun";

using dry_run::Launch;
using dry_run::LaunchesUnder;

// Runs a console program and returns what it wrote to its standard output.
std::string OutputOf(const std::string& program, const std::string& arguments, const TempFolder& scratch,
                     DWORD* exitCode) {
    const std::string outputPath = scratch.Path() + "dry-run.txt";
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) return "";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string commandLine = "\"" + program + "\" " + arguments;
    // No CREATE_NO_WINDOW: under Wine a console program started with it
    // writes nothing to the handles it is given.
    PROCESS_INFORMATION info{};
    const BOOL started = CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &info);
    CloseHandle(output);
    if (!started) return "";
    WaitForSingleObject(info.hProcess, 30000);
    GetExitCodeProcess(info.hProcess, exitCode);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);

    std::string text;
    HANDLE file = CreateFileA(outputPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    CloseHandle(file);
    return text;
}

// The dry run's lines, without the carriage returns of a Windows console program.
std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Four numbers "l,t,r,b" after `prefix` in the line that begins with it.
bool RectAfter(const std::vector<std::string>& lines, const std::string& prefix, RECT* rect) {
    for (const std::string& line : lines) {
        if (line.compare(0, prefix.size(), prefix) == 0) {
            return std::sscanf(line.c_str() + prefix.size(), "%ld,%ld,%ld,%ld", &rect->left, &rect->top,
                               &rect->right, &rect->bottom) == 4;
        }
    }
    return false;
}

std::vector<Launch> Recorded(const std::vector<std::string>& lines) {
    std::vector<Launch> launches;
    for (const std::string& line : lines) launches.push_back(Launch{CommandLineOf(line), FolderOf(line)});
    return launches;
}

// The settings of the running system, as options of the dry run.
std::string SystemOptions() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    std::string kind = "9x";
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        char type[64] = {};
        DWORD size = sizeof type;
        HKEY key = nullptr;
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", 0, KEY_QUERY_VALUE,
                      &key);
        RegQueryValueExA(key, "ProductType", nullptr, nullptr, reinterpret_cast<BYTE*>(type), &size);
        RegCloseKey(key);
        const std::string product = type;
        kind = product == "servernt" || product == "lanmannt" ? "srv" : product == "personal" ? "pers" : "pro";
    }
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    char options[256];
    std::snprintf(options, sizeof options, "--os %s --version %lu --lang 0x%02X --screen %ldx%ld", kind.c_str(),
                  version.dwMajorVersion * 100 + version.dwMinorVersion, GetUserDefaultLangID() & 0x3FFu, work.right,
                  work.bottom);
    return options;
}

class DryRunMatchesTheMenu : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(0, 0);
        disc.Folder().CopyIn(OwnFolder() + "launch_probe.exe", "tools\\probe.exe");
        disc.Folder().Write("back.bmp", fixture::PlainBitmap(320, 240, {20, 20, 20}));
        disc.Folder().Write(
            "install.ini",
            fixture::Utf16Le(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2\r\n"
                             u"[Button1-]\r\nName=Probe\r\nBtnRect=10,20,150,50\r\n"
                             u"PreRun=tools\\probe.exe\r\nPreArgs=/pre\r\nPreCond=nt,500,0\r\n"
                             u"Path=tools\\probe.exe\r\nArgs=/greet \"to you\"\r\n"
                             u"[Button2-]\r\nName=Last\r\nBtnRect=10,60,150,90\r\n"
                             u"PreRun=tools\\probe.exe\r\nPreArgs=/never\r\nPreCond=9x,0,0\r\n"
                             u"Path=tools\\probe.exe\r\nArgs=/last\r\nExit=true\r\n"
                             u"SilentPath=tools\\probe.exe\r\nSilentArgs=/silent\r\n"));
        // The disc's folder without its last backslash, which would escape
        // the closing quote of an argument.
        std::string folder = disc.Folder().Path();
        folder.pop_back();
        DWORD exitCode = 99;
        const std::string output = OutputOf(OwnFolder() + "tessaline-check.exe",
                                            "--dry-run " + SystemOptions() + " --folder \"" + folder + "\" \"" +
                                                folder + "\"",
                                            scratch, &exitCode);
        dryRun = LinesOf(output);
        ASSERT_EQ(exitCode, 0u) << output;
        ASSERT_FALSE(dryRun.empty()) << "no output";
    }

    // Clicks the middle of the button's rectangle as the dry run printed it.
    void Click(HWND window, int button) {
        RECT r{};
        ASSERT_TRUE(RectAfter(dryRun, "button " + std::to_string(button) + " \"" +
                                          (button == 1 ? "Probe" : "Last") + "\": ",
                              &r));
        input::MoveTo(window, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        input::LeftDown();
        input::LeftUp();
    }

    Disc disc;
    TempFolder scratch;
    ProbeLog log;
    std::vector<std::string> dryRun;
};

TEST_F(DryRunMatchesTheMenu, AClickStartsWhatTheDryRunPrinted) {
    const std::vector<Launch> first = LaunchesUnder(dryRun, "button 1 ");
    const std::vector<Launch> second = LaunchesUnder(dryRun, "button 2 ");
    // Wine calls itself NT 6.1: button 1's preparatory program runs, button 2's does not.
    ASSERT_EQ(first.size(), 2u);
    ASSERT_EQ(second.size(), 1u);

    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    HWND window = menu.WaitForWindow(kMenuClass);
    ASSERT_NE(window, nullptr);
    RECT opened{};
    GetWindowRect(window, &opened);
    RECT predicted{};
    ASSERT_TRUE(RectAfter(dryRun, "window: ", &predicted));
    EXPECT_TRUE(EqualRect(&opened, &predicted)) << opened.left << "," << opened.top << "," << opened.right << ","
                                                << opened.bottom;
    PumpMessagesFor(300);

    Click(window, 1);
    ASSERT_TRUE(log.WaitForLines(2));
    EXPECT_EQ(Recorded(log.Lines()), first);

    Click(window, 2);
    DWORD exitCode = 1;
    ASSERT_TRUE(menu.WaitForExit(20000, &exitCode)) << "button 2 ends the menu";
    std::vector<Launch> expected = first;
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(Recorded(log.Lines()), expected);
}

TEST_F(DryRunMatchesTheMenu, TheUnattendedRunStartsWhatTheDryRunPrinted) {
    const std::vector<Launch> predicted = LaunchesUnder(dryRun, "-s starts");
    ASSERT_EQ(predicted.size(), 2u);
    MenuProcess menu(disc.ExePath(), "-s", disc.Folder().Path());
    DWORD exitCode = 1;
    ASSERT_TRUE(menu.WaitForExit(20000, &exitCode));
    EXPECT_EQ(Recorded(log.Lines()), predicted);
}

uint64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

// At the screen's size the picture is not shrunk: the system's loader maps it.
TEST_F(DryRunMatchesTheMenu, TheStartUpsReadsAreTheDiscsFilesWithTheirSizes) {
    std::vector<std::string> reads;
    for (const std::string& line : dryRun) {
        if (line.compare(0, 15, "start-up reads ") == 0) reads.push_back(line);
    }
    const std::string& folder = disc.Folder().Path();
    const uint64_t total = FileSize(disc.ExePath()) + FileSize(disc.IniPath()) + FileSize(folder + "back.bmp");
    ASSERT_EQ(reads.size(), 4u);
    EXPECT_EQ(reads[0], "start-up reads tessaline.exe: " + std::to_string(FileSize(disc.ExePath())) +
                            " bytes, mapped whole by the system");
    EXPECT_EQ(reads[1],
              "start-up reads install.ini: " + std::to_string(FileSize(disc.IniPath())) + " bytes, in 1 read");
    EXPECT_EQ(reads[2], "start-up reads back.bmp: " + std::to_string(FileSize(folder + "back.bmp")) +
                            " bytes, mapped whole by the system");
    const std::string sum = "start-up reads " + std::to_string(total) + " bytes from 3 files: ";
    EXPECT_EQ(reads[3].substr(0, sum.size()), sum);
}

}  // namespace
