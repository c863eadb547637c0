#include <windows.h>

#include "platform/registry.h"

namespace platform {

bool ReadMachineValue(const char* keyPath, const char* valueName, char* buffer, uint32_t capacity, uint32_t* size) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD bytes = capacity;
    const LONG read = RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &bytes);
    RegCloseKey(key);
    if (read != ERROR_SUCCESS) return false;
    *size = bytes;
    return true;
}

}  // namespace platform
