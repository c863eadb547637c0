#include <windows.h>

#include "platform/file.h"

namespace platform {

File OpenFileForReading(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : reinterpret_cast<File>(file);
}

uint32_t FileSizeLow(File file) {
    return GetFileSize(reinterpret_cast<HANDLE>(file), nullptr);
}

bool ReadFromFile(File file, void* buffer, uint32_t wanted, uint32_t* got) {
    DWORD read = 0;
    const BOOL ok = ReadFile(reinterpret_cast<HANDLE>(file), buffer, wanted, &read, nullptr);
    *got = read;
    return ok != FALSE;
}

void CloseFile(File file) {
    CloseHandle(reinterpret_cast<HANDLE>(file));
}

}  // namespace platform
