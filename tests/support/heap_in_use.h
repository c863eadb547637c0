#pragma once
// The bytes this process's heaps have handed out and not taken back (Windows
// only): what leaked allocations grow, without the thread stacks that make a
// process's private bytes jump by megabytes under Wine as the threads that
// serve other processes' calls come and go.

#include <windows.h>

#include <cstdint>

inline uint64_t HeapBytesInUse() {
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    uint64_t total = 0;
    for (DWORD k = 0; k < count && k < 64; ++k) {
        if (!HeapLock(heaps[k])) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[k], &entry)) {
            if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) total += entry.cbData;
        }
        HeapUnlock(heaps[k]);
    }
    return total;
}
