#include "e2e/menu_process.h"

#include <stdexcept>

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

namespace {

struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && IsWindowVisible(window) && lstrcmpA(className, search->className) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND MenuProcess::WaitForWindow(const char* className, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        WindowSearch search{info.dwProcessId, className, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) return search.found;
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
