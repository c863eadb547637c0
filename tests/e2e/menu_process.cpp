#include "e2e/menu_process.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/process_window.h"

Disc::Disc() {
    folder.CopyIn(OwnFolder() + "tessaline.exe", "tessaline.exe");
}

MenuProcess::MenuProcess(const std::string& exe, const std::string& arguments, const std::string& folder) {
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &info)) {
        throw std::runtime_error("cannot start " + exe + ": error " + std::to_string(GetLastError()));
    }
}

MenuProcess::~MenuProcess() {
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, 5000);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

void PumpMessagesFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    } while (GetTickCount() - start < milliseconds);
}

HWND MenuProcess::WaitForWindow(const char* className, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        if (HWND found = process_window::VisibleWindowOf(info.dwProcessId, className)) return found;
        if (WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0) return nullptr;
        PumpMessagesFor(20);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

HWND MenuProcess::WaitForMessageBox(DWORD timeoutMs) {
    return WaitForWindow("#32770", timeoutMs);
}

bool MenuProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
        if (GetTickCount() - start >= timeoutMs) return false;
        PumpMessagesFor(20);
    }
    GetExitCodeProcess(info.hProcess, exitCode);
    return true;
}

void ExpectExitZero(MenuProcess& menu) {
    DWORD exitCode = 1;
    ASSERT_TRUE(menu.WaitForExit(20000, &exitCode)) << "the menu did not end";
    EXPECT_EQ(exitCode, 0u);
}

void CloseAndExpectExitZero(MenuProcess& menu, HWND window) {
    SendMessageA(window, WM_USER, 0, 0);
    ExpectExitZero(menu);
}

COLORREF ScreenPixel(HWND window, int x, int y) {
    POINT point = {x, y};
    ClientToScreen(window, &point);
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return color;
}

MessageBoxContent ReadMessageBox(HWND box) {
    char caption[512] = {};
    char text[1024] = {};
    GetWindowTextA(box, caption, sizeof caption);
    GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
    return {caption, text};
}

void DismissMessageBox(HWND box) {
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

namespace input {

namespace {

void Send(INPUT event) {
    SendInput(1, &event, sizeof event);
    PumpMessagesFor(30);
}

}  // namespace

void MoveTo(HWND window, int x, int y) {
    POINT point = {x, y};
    ClientToScreen(window, &point);
    INPUT event = {};
    event.type = INPUT_MOUSE;
    event.mi.dx = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    event.mi.dy = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    event.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    Send(event);
}

void LeftDown() {
    INPUT event = {};
    event.type = INPUT_MOUSE;
    event.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    Send(event);
}

void LeftUp() {
    INPUT event = {};
    event.type = INPUT_MOUSE;
    event.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    Send(event);
}

void Key(WORD virtualKey, bool down) {
    INPUT event = {};
    event.type = INPUT_KEYBOARD;
    event.ki.wVk = virtualKey;
    event.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    Send(event);
}

void Tap(WORD virtualKey) {
    Key(virtualKey, true);
    Key(virtualKey, false);
}

}  // namespace input

ProbeLog::ProbeLog() : path(folder.Path() + "probe.log") {
    SetEnvironmentVariableA("TESSALINE_PROBE_LOG", path.c_str());
}

ProbeLog::~ProbeLog() {
    SetEnvironmentVariableA("TESSALINE_PROBE_LOG", nullptr);
}

std::vector<std::string> ProbeLog::Lines() const {
    std::vector<std::string> lines;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lines;
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    CloseHandle(file);
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

bool ProbeLog::WaitForLines(size_t count, DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    while (Lines().size() < count) {
        if (GetTickCount() - start >= timeoutMs) return false;
        PumpMessagesFor(50);
    }
    return true;
}

std::string CommandLineOf(const std::string& line) {
    return line.substr(0, line.find('\t'));
}

std::string FolderOf(const std::string& line) {
    const size_t start = line.find('\t') + 1;
    return line.substr(start, line.find('\t', start) - start);
}
