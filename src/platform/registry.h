#pragma once
// Reading one value from the machine's part of the registry.

#include <cstdint>

namespace platform {

// Opens `keyPath` under HKEY_LOCAL_MACHINE for querying values, reads the
// bytes of `valueName` whatever its type, and closes the key again whether or
// not the read succeeded. False when the key cannot be opened or the value
// cannot be read, also when it holds more than `capacity` bytes; otherwise
// `size` receives the number of bytes read.
bool ReadMachineValue(const char* keyPath, const char* valueName, char* buffer, uint32_t capacity, uint32_t* size);

}  // namespace platform
