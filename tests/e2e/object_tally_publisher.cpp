// Linked into the test build of the menu (tessaline_tallied.exe): before the
// program starts, moves the platform layer's tally of live drawing objects
// into shared memory named after the process, where the long-running test
// reads it. The mapping stays open for the life of the process.
#include <windows.h>

#include "e2e/object_tally.h"
#include "platform/win32/object_tally_win32.h"

namespace {

struct Publisher {
    Publisher() {
        const std::string name = ObjectTallyName(GetCurrentProcessId());
        HANDLE mapping =
            CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(int32_t), name.c_str());
        if (mapping == nullptr) return;
        auto* shared = static_cast<int32_t*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(int32_t)));
        if (shared == nullptr) return;
        *shared = *platform::liveDrawingObjects;
        platform::liveDrawingObjects = shared;
    }
};

const Publisher publisher;

}  // namespace
