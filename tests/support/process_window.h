#pragma once
// Finding another process's window (Windows only).

#include <windows.h>

namespace process_window {

struct Search {
    DWORD processId;
    const char* className;
    HWND found;
};

inline BOOL CALLBACK Match(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner != search->processId || !IsWindowVisible(window) || lstrcmpA(className, search->className) != 0) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

// The process's visible top-level window of that class, or none yet.
inline HWND VisibleWindowOf(DWORD processId, const char* className) {
    Search search{processId, className, nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace process_window
