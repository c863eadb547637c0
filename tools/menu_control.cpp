// menu-control wait|close: waits until a menu window is open, or asks the open
// menu to close (WM_USER) and waits until it is gone. Exit code 0 on success,
// 1 when nothing happened within 20 seconds. Used by scripts/demo.
#include <windows.h>

#include <cstring>

namespace {

constexpr const char* kMenuClass = "Quorvan Belmira Autorun";

bool WaitFor(bool open) {
    for (int i = 0; i < 200; ++i) {
        if ((FindWindowA(kMenuClass, nullptr) != nullptr) == open) return true;
        Sleep(100);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "wait") == 0) return WaitFor(true) ? 0 : 1;
    if (argc == 2 && std::strcmp(argv[1], "close") == 0) {
        HWND menu = FindWindowA(kMenuClass, nullptr);
        if (menu == nullptr) return 1;
        PostMessageA(menu, WM_USER, 0, 0);
        return WaitFor(false) ? 0 : 1;
    }
    return 2;
}
