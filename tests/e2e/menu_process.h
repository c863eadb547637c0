#pragma once
// Drives tessaline.exe as a user would see it: started in a disc folder, its
// message boxes and window found by process, read, dismissed and closed.

#include <windows.h>

#include <string>

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

MessageBoxContent ReadMessageBox(HWND box);
void DismissMessageBox(HWND box);

// Handles this thread's messages while waiting, so that windows of the test
// itself answer what other processes send them.
void PumpMessagesFor(DWORD milliseconds);
