#include <windows.h>
#include <shellapi.h>

#include "platform/process.h"
#include "platform/system.h"
#include "platform/win32/late_bound_win32.h"

namespace platform {

// The startup record's size field is the record's own size: 68 bytes in a
// 32-bit program, 104 in a 64-bit one, where its pointer fields are wider.
#ifdef _WIN64
static_assert(sizeof(STARTUPINFOA) == 104, "the 64-bit startup record");
#else
static_assert(sizeof(STARTUPINFOA) == 68, "the 32-bit startup record");
#endif

bool CreateProcessFromCommandLine(char* commandLine, uint32_t creationFlags, const char* workingFolder,
                                  uint32_t startupFlags, int showState, ProcessInfo* info) {
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = startupFlags;
    startup.wShowWindow = static_cast<WORD>(showState);
    PROCESS_INFORMATION created;
    ZeroMemory(&created, sizeof created);
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, creationFlags, nullptr, workingFolder, &startup,
                        &created)) {
        return false;
    }
    info->process = reinterpret_cast<Process>(created.hProcess);
    info->thread = reinterpret_cast<Thread>(created.hThread);
    info->processId = created.dwProcessId;
    info->threadId = created.dwThreadId;
    return true;
}

void WaitUntilIdle(Process process) {
    WaitForInputIdle(reinterpret_cast<HANDLE>(process), INFINITE);
}

void CloseProcessInfo(const ProcessInfo& info) {
    CloseHandle(reinterpret_cast<HANDLE>(info.thread));
    CloseHandle(reinterpret_cast<HANDLE>(info.process));
}

namespace {

using ShellExecuteFunction = decltype(&ShellExecuteA);

// The shell's library, and the ones it brings along, are loaded on the first
// "open" rather than at start-up, where nothing needs them: from the system
// folder only, like every library the program loads by name. Kept loaded.
ShellExecuteFunction FindShellExecute() {
    const HMODULE shell = reinterpret_cast<HMODULE>(LoadSystemLibrary("shell32.dll"));
    return FunctionIn<ShellExecuteFunction>(shell, "ShellExecuteA");
}

}  // namespace

intptr_t ShellOpen(Window owner, const char* file, const char* parameters, const char* folder, int showState) {
    static const ShellExecuteFunction shellExecute = FindShellExecute();
    // 0 is the shell's own "out of resources"; the last error is the loader's.
    if (shellExecute == nullptr) return 0;
    HINSTANCE result = shellExecute(reinterpret_cast<HWND>(owner), "open", file, parameters, folder, showState);
    return reinterpret_cast<intptr_t>(result);
}

uint32_t LastErrorCode() {
    return GetLastError();
}

char* FetchSystemErrorText(uint32_t code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0, nullptr);
    if (length == 0) return nullptr;
    return text;
}

void ReleaseSystemErrorText(char* text) {
    LocalFree(text);
}

}  // namespace platform
