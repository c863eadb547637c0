#pragma once
// Drives tessaline.exe as a user would see it: started in a disc folder, its
// message boxes and window found by process, read, dismissed and closed.

#include <windows.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"

// A temporary disc: a copy of tessaline.exe in a fresh folder.
class Disc {
public:
    Disc();
    const TempFolder& Folder() const { return folder; }
    std::string ExePath() const { return folder.Path() + "tessaline.exe"; }
    std::string IniPath() const { return folder.Path() + "install.ini"; }

private:
    TempFolder folder;
};

struct MessageBoxContent {
    std::string caption;
    std::string text;
};

class MenuProcess {
public:
    // Starts the exe with the argument text, working in `folder`.
    MenuProcess(const std::string& exe, const std::string& arguments, const std::string& folder);
    ~MenuProcess();
    MenuProcess(const MenuProcess&) = delete;
    MenuProcess& operator=(const MenuProcess&) = delete;

    // A visible message box of the process, or null after the time limit.
    HWND WaitForMessageBox(DWORD timeoutMs = 20000);
    // The process's visible top-level window of the class, or null.
    HWND WaitForWindow(const char* className, DWORD timeoutMs = 20000);
    // True when the process ended within the limit; its exit code then.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);
    DWORD Id() const { return info.dwProcessId; }

private:
    PROCESS_INFORMATION info{};
};

// Waits for the process to end and expects exit code 0, the menu's only one.
void ExpectExitZero(MenuProcess& menu);
// Asks the menu to close as any program may (WM_USER), then expects it to end with 0.
void CloseAndExpectExitZero(MenuProcess& menu, HWND window);

// A pixel of the window's client area as the screen shows it.
COLORREF ScreenPixel(HWND window, int x, int y);

MessageBoxContent ReadMessageBox(HWND box);
void DismissMessageBox(HWND box);

// Handles this thread's messages while waiting, so that windows of the test
// itself answer what other processes send them.
void PumpMessagesFor(DWORD milliseconds);

// Real input through the window system, as a user gives it.
namespace input {
// Moves the pointer to a point of the window's client area.
void MoveTo(HWND window, int x, int y);
void LeftDown();
void LeftUp();
void Key(WORD virtualKey, bool down);
void Tap(WORD virtualKey);
}  // namespace input

// The lines that the probe programs started during a test append to their
// log, named to them through the environment they inherit.
class ProbeLog {
public:
    ProbeLog();
    ~ProbeLog();
    std::vector<std::string> Lines() const;
    // Waits until the log holds at least `count` lines.
    bool WaitForLines(size_t count, DWORD timeoutMs = 10000) const;

private:
    TempFolder folder;
    std::string path;
};

// The first two fields of a probe's line: its command line and working folder.
std::string CommandLineOf(const std::string& line);
std::string FolderOf(const std::string& line);
