#pragma once
// What the test build of the menu publishes about itself in shared memory
// named after its process: its live drawing objects, kept current, and the
// bytes its heaps hold, measured each time the request event is set and
// announced through the answer event.

#include <windows.h>

#include <cstdint>
#include <string>

struct PublishedTally {
    int32_t drawingObjects;
    uint64_t heapBytes;
};

inline std::string ObjectTallyName(DWORD processId) {
    return "TessalineDrawingObjects-" + std::to_string(processId);
}
inline std::string HeapRequestName(DWORD processId) {
    return "TessalineHeapRequest-" + std::to_string(processId);
}
inline std::string HeapAnswerName(DWORD processId) {
    return "TessalineHeapAnswer-" + std::to_string(processId);
}
