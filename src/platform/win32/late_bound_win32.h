#pragma once
// Functions looked up at run time instead of imported. Windows refuses to
// start a program that imports a function its libraries lack, before any of
// the program's code runs; what some system the program supports lacks is
// found this way, and the caller does without it there.

#include <windows.h>

namespace platform {

// The function `name` of a loaded library as its own type; none when the
// library or the function is missing.
template <typename Function>
Function FunctionIn(HMODULE library, const char* name) {
    FARPROC address = library != nullptr ? GetProcAddress(library, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

// The same in a library that the program imports, and so has loaded.
template <typename Function>
Function FunctionOf(const char* library, const char* name) {
    return FunctionIn<Function>(GetModuleHandleA(library), name);
}

}  // namespace platform
