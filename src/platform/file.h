#pragma once
// Reading a whole file: open for a sequential read that other readers may
// share, its size, reads, close.

#include <cstdint>

#include "platform/types.h"

namespace platform {

// Opens an existing file for reading only; none when it cannot be opened.
[[nodiscard]] File OpenFileForReading(const char* path);

// The size in bytes, low 32 bits.
uint32_t FileSizeLow(File file);

// Reads up to `wanted` bytes; false when the read itself fails. `got` receives
// the number of bytes read, which is short at the end of the file.
[[nodiscard]] bool ReadFromFile(File file, void* buffer, uint32_t wanted, uint32_t* got);

void CloseFile(File file);

}  // namespace platform
