// Linked into the test build of the menu (tessaline_tallied.exe): before the
// program starts, moves the platform layer's tally of live drawing objects
// into shared memory named after the process, where the long-running test
// reads it, and starts a thread that measures the heaps whenever the test
// asks. The mapping and the thread stay for the life of the process.
#include <windows.h>

#include "e2e/object_tally.h"
#include "platform/win32/object_tally_win32.h"
#include "support/heap_in_use.h"

namespace {

struct HeapAnswer {
    PublishedTally* shared;
    HANDLE request;
    HANDLE answer;
};

DWORD WINAPI AnswerHeapRequests(LPVOID parameter) {
    const HeapAnswer* channel = static_cast<const HeapAnswer*>(parameter);
    while (WaitForSingleObject(channel->request, INFINITE) == WAIT_OBJECT_0) {
        channel->shared->heapBytes = HeapBytesInUse();
        SetEvent(channel->answer);
    }
    return 0;
}

struct Publisher {
    Publisher() {
        const DWORD id = GetCurrentProcessId();
        HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(PublishedTally),
                                            ObjectTallyName(id).c_str());
        if (mapping == nullptr) return;
        auto* shared =
            static_cast<PublishedTally*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(PublishedTally)));
        if (shared == nullptr) return;
        shared->drawingObjects = *platform::liveDrawingObjects;
        platform::liveDrawingObjects = &shared->drawingObjects;
        channel = HeapAnswer{shared, CreateEventA(nullptr, FALSE, FALSE, HeapRequestName(id).c_str()),
                             CreateEventA(nullptr, FALSE, FALSE, HeapAnswerName(id).c_str())};
        if (channel.request == nullptr || channel.answer == nullptr) return;
        HANDLE thread = CreateThread(nullptr, 0, AnswerHeapRequests, &channel, 0, nullptr);
        if (thread != nullptr) CloseHandle(thread);
    }
    HeapAnswer channel{};
};

Publisher publisher;

}  // namespace
