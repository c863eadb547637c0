#pragma once
// The shared memory in which the test build of the menu publishes its tally
// of live drawing objects: one 32-bit count, named after the process.

#include <windows.h>

#include <string>

inline std::string ObjectTallyName(DWORD processId) {
    return "TessalineDrawingObjects-" + std::to_string(processId);
}
