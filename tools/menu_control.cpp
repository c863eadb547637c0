// menu-control wait|idle|close:
//   wait   waits until a menu window is open, shown and painted, and its
//          process waits for input with none pending;
//   idle   waits until the open menu's process has handled all its input
//          (a pointer move, say) and waits for more;
//   close  asks the open menu to close (WM_USER) and waits until it is gone.
// Exit code 0 on success, 1 when that did not happen within 20 seconds.
// Used by scripts/demo and the release test.
#include <windows.h>

#include <cstring>

namespace {

constexpr const char* kMenuClass = "Quorvan Belmira Autorun";
constexpr DWORD kPatience = 20000;  // milliseconds
constexpr DWORD kPollStep = 50;

bool WaitForWindow(bool open) {
    for (DWORD waited = 0; waited < kPatience; waited += kPollStep) {
        if ((FindWindowA(kMenuClass, nullptr) != nullptr) == open) return true;
        Sleep(kPollStep);
    }
    return false;
}

// The menu's process waits for input with none pending: everything it was
// sent or shown so far has been handled.
bool WaitForIdle(HWND menu) {
    DWORD processId = 0;
    GetWindowThreadProcessId(menu, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (process == nullptr) return false;
    const DWORD result = WaitForInputIdle(process, kPatience);
    CloseHandle(process);
    return result == 0;
}

// Shown, with nothing left to paint, and idle.
bool WaitForPainted() {
    if (!WaitForWindow(true)) return false;
    for (DWORD waited = 0; waited < kPatience; waited += kPollStep) {
        HWND menu = FindWindowA(kMenuClass, nullptr);
        if (menu == nullptr) return false;
        if (IsWindowVisible(menu) && !GetUpdateRect(menu, nullptr, FALSE)) return WaitForIdle(menu);
        Sleep(kPollStep);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    if (std::strcmp(argv[1], "wait") == 0) return WaitForPainted() ? 0 : 1;
    HWND menu = FindWindowA(kMenuClass, nullptr);
    if (std::strcmp(argv[1], "idle") == 0) return menu != nullptr && WaitForIdle(menu) ? 0 : 1;
    if (std::strcmp(argv[1], "close") == 0) {
        if (menu == nullptr) return 1;
        PostMessageA(menu, WM_USER, 0, 0);
        return WaitForWindow(false) ? 0 : 1;
    }
    return 2;
}
