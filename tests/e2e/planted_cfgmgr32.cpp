// A stand-in for the device installer's library, as someone might plant it
// beside the menu on a disc image. Loading it leaves a marker file beside it,
// and it claims that installations are pending, which would end the menu
// silently.
#include <windows.h>

#include <string>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        char own[MAX_PATH];
        GetModuleFileNameA(instance, own, MAX_PATH);
        std::string marker = own;
        marker = marker.substr(0, marker.find_last_of('\\') + 1) + "planted-library-was-loaded";
        HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
    return TRUE;
}

extern "C" __declspec(dllexport) DWORD WINAPI CMP_WaitNoPendingInstallEvents(DWORD) {
    return WAIT_TIMEOUT;
}
