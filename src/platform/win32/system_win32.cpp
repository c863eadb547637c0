#include <windows.h>

#include <cstring>

#include "platform/system.h"
#include "platform/win32/late_bound_win32.h"

namespace platform {

// A longer path fills the whole buffer: Windows XP leaves it without a
// terminator then, later systems end it one byte short.
bool OwnModulePath(char* buffer, uint32_t capacity) {
    if (capacity == 0) return false;
    const DWORD length = GetModuleFileNameA(GetModuleHandleA(nullptr), buffer, capacity);
    if (length == 0) return false;
    if (length >= capacity) buffer[capacity - 1] = 0;
    return true;
}

uint16_t UserDefaultLanguageId() {
    return GetUserDefaultLangID();
}

void RestrictLibrarySearchToSystemFolder() {
    // Looked up at run time: systems before Windows 8 have these only with
    // later updates, or not at all.
    const auto setDefault = FunctionOf<BOOL(WINAPI*)(DWORD)>("kernel32.dll", "SetDefaultDllDirectories");
    if (setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    // Without it, the empty text takes the current folder out of the search.
    const auto setDirectory = FunctionOf<BOOL(WINAPI*)(LPCSTR)>("kernel32.dll", "SetDllDirectoryA");
    if (setDirectory != nullptr) setDirectory("");
}

Library LoadSystemLibrary(const char* name) {
    // Only the system folder is searched: a library of the same name beside
    // the program (on a disc image, in a download folder) or in the current
    // folder must never be loaded.
    HMODULE library = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) {
        // Systems without the search flags: name the file in the system folder.
        char path[MAX_PATH];
        const UINT length = GetSystemDirectoryA(path, MAX_PATH);
        if (length == 0 || length + 1 + std::strlen(name) >= MAX_PATH) return nullptr;
        path[length] = '\\';
        std::memcpy(path + length + 1, name, std::strlen(name) + 1);
        library = LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    return reinterpret_cast<Library>(library);
}

bool CallWaitNoPendingInstallEvents(Library library, uint32_t timeoutMs, uint32_t* result) {
    const auto wait =
        FunctionIn<DWORD(WINAPI*)(DWORD)>(reinterpret_cast<HMODULE>(library), "CMP_WaitNoPendingInstallEvents");
    if (wait == nullptr) return false;
    *result = wait(timeoutMs);
    return true;
}

void UnloadLibrary(Library library) {
    FreeLibrary(reinterpret_cast<HMODULE>(library));
}

namespace {

// The system's enumeration takes no context, so the current one is kept here
// for the length of one enumeration.
bool (*localeVisitor)(const char*, void*) = nullptr;
void* localeContext = nullptr;

BOOL CALLBACK VisitLocale(LPSTR identifier) {
    return localeVisitor(identifier, localeContext) ? TRUE : FALSE;
}

}  // namespace

void EnumerateInstalledLocales(bool (*visit)(const char* identifier, void* context), void* context) {
    localeVisitor = visit;
    localeContext = context;
    EnumSystemLocalesA(VisitLocale, LCID_INSTALLED);
    localeVisitor = nullptr;
    localeContext = nullptr;
}

}  // namespace platform
