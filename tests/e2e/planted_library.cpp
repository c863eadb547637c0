// A library planted beside the menu or in its working folder under the name
// of a system library that the menu or the window system loads by name while
// the menu runs (its theme library, say). Loading it leaves a marker beside
// it, named after the file: "uxtheme.dll-was-loaded".
#include <windows.h>

#include <string>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        char own[MAX_PATH];
        GetModuleFileNameA(instance, own, MAX_PATH);
        const std::string marker = std::string(own) + "-was-loaded";
        HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
    return TRUE;
}
