#pragma once
// Files served from memory, in place of the platform's file layer, so that a
// fuzz input reaches the reader and the bitmap check without touching disk.

#include <cstddef>
#include <cstdint>

// Serves `size` bytes at `data` under `path` until the next call; any other
// path cannot be opened. The bytes must outlive the reads.
void ServeFile(const char* path, const uint8_t* data, size_t size);
