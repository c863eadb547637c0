#include <windows.h>

#include <process.h>

#include <new>

#include "platform/threads.h"

namespace platform {

namespace {

struct Start {
    void (*work)(void*);
    void* context;
};

unsigned __stdcall RunStart(void* argument) {
    const Start start = *static_cast<Start*>(argument);
    delete static_cast<Start*>(argument);
    start.work(start.context);
    return 0;
}

}  // namespace

uint32_t ProcessorCount() {
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (!GetProcessAffinityMask(GetCurrentProcess(), &process, &system)) return 1;
    uint32_t count = 0;
    for (; process != 0; process &= process - 1) ++count;
    return count > 0 ? count : 1;
}

Thread StartThread(void (*work)(void* context), void* context) {
    Start* start = new (std::nothrow) Start{work, context};
    if (start == nullptr) return nullptr;
    // The C library's own start, so that the thread may use it (allocation),
    // on CreateThread underneath.
    const uintptr_t thread = _beginthreadex(nullptr, 0, RunStart, start, 0, nullptr);
    if (thread == 0) {
        delete start;
        return nullptr;
    }
    return reinterpret_cast<Thread>(thread);
}

void FinishThread(Thread thread) {
    if (thread == nullptr) return;
    HANDLE handle = reinterpret_cast<HANDLE>(thread);
    WaitForSingleObject(handle, INFINITE);
    CloseHandle(handle);
}

}  // namespace platform
