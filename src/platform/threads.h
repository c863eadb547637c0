#pragma once
// Threads, for work that the processor's cores can share.

#include <cstdint>

#include "platform/types.h"

namespace platform {

// The processors this process may run on; at least 1.
uint32_t ProcessorCount();

// Runs work(context) on a new thread; none when the system cannot start one.
Thread StartThread(void (*work)(void* context), void* context);

// Waits until the thread's work has returned, and lets go of the thread.
void FinishThread(Thread thread);

}  // namespace platform
