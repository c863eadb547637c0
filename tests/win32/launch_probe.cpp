// A program for the launcher's tests to start. It appends one line to the log
// file named by TESSALINE_PROBE_LOG: its command line, working folder,
// startup-record flags and show state, and its process and thread
// identifiers, separated by tabs. It then becomes idle for
// input. Arguments: /slow waits 700 ms before writing, so a caller that does
// not wait until idle returns before the line exists; /stay keeps the probe
// waiting for messages until its thread gets the quit message.
#include <windows.h>

#include <cstring>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
    if (std::strstr(arguments, "/slow") != nullptr) Sleep(700);

    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    STARTUPINFOA startup;
    GetStartupInfoA(&startup);
    const std::string line = std::string(GetCommandLineA()) + "\t" + folder + "\t" + std::to_string(startup.dwFlags) +
                             "\t" + std::to_string(startup.wShowWindow) + "\t" + std::to_string(GetCurrentProcessId()) + "\t" + std::to_string(GetCurrentThreadId()) +
                             "\r\n";

    char logPath[MAX_PATH] = {};
    if (GetEnvironmentVariableA("TESSALINE_PROBE_LOG", logPath, MAX_PATH) > 0) {
        HANDLE log = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (log != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(log);
        }
    }

    // Asking for a message with an empty queue is what makes a process idle
    // for input.
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    if (std::strstr(arguments, "/stay") != nullptr) {
        while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    }
    return 0;
}
