// Host-build threads over the C++ library, for the tests and benchmarks.
#include <thread>

#include "platform/threads.h"

namespace platform {

uint32_t ProcessorCount() {
    const unsigned count = std::thread::hardware_concurrency();
    return count > 0 ? count : 1;
}

Thread StartThread(void (*work)(void* context), void* context) {
    try {
        return reinterpret_cast<Thread>(new std::thread(work, context));
    } catch (...) {
        return nullptr;
    }
}

void FinishThread(Thread thread) {
    if (thread == nullptr) return;
    std::thread* running = reinterpret_cast<std::thread*>(thread);
    running->join();
    delete running;
}

}  // namespace platform
