#pragma once
// Process and system facts: the program's own file, the user's language,
// libraries loaded at run time.

#include <cstdint>

#include "platform/types.h"

namespace platform {

// Full path of the program's own file in the ANSI code page, cut to
// capacity - 1 bytes when it is longer; false when there is none.
[[nodiscard]] bool OwnModulePath(char* buffer, uint32_t capacity);

// The user's default language identifier.
uint16_t UserDefaultLanguageId();

// Calls `visit` with each installed system locale's identifier, as hexadecimal
// digits without prefix, until it returns false.
void EnumerateInstalledLocales(bool (*visit)(const char* identifier, void* context), void* context);

// From here on, libraries loaded by name, by the program or by the system's
// own libraries on its behalf, come from the system folder only, where the
// system can be told so; else at least not from the current folder.
void RestrictLibrarySearchToSystemFolder();

// Loads a library from the system folder only, never from the program's or
// the current folder; none when it is absent.
[[nodiscard]] Library LoadSystemLibrary(const char* name);

// Calls the device installer's CMP_WaitNoPendingInstallEvents from `library`.
// False when the library does not export it; else `result` holds its answer.
[[nodiscard]] bool CallWaitNoPendingInstallEvents(Library library, uint32_t timeoutMs, uint32_t* result);

void UnloadLibrary(Library library);

}  // namespace platform
