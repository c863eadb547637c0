#pragma once
// The line protocol that bench/resample_peers.py speaks with each timer it
// interleaves: a request on standard input,
//   time WIDTH HEIGHT BITS FACTOR TO_WIDTH TO_HEIGHT THREADS
// (resample the WIDTHxHEIGHT picture of BITS bits per pixel by FACTOR, into
// TO_WIDTHxTO_HEIGHT pixels, on THREADS threads) is answered by one line on
// standard output,
//   ELAPSED PROCESSOR
// the milliseconds that one resampling took by the clock, and by the
// processor time of the thread that asked for it; instead of the latter
// "shared" when other threads of the process worked meanwhile, "unknown" when
// the system does not count it finely (processor_time.h: the driver then
// reads it from outside, for a request on one thread). Or by "error <why>".
// A timer stays idle between requests, so that the timers take turns on the
// processor.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "processor_time.h"
#include "resample_cases.h"

namespace bench {

struct TimeRequest {
    PictureShape shape;
    float factor;
    int32_t toWidth;
    int32_t toHeight;
    uint32_t threads;
};

struct Timing {
    double elapsedMilliseconds = 0;
    double processorMilliseconds = 0;
    bool counted = false;      // the system counts processor time finely
    bool onOneThread = false;  // no other thread of the process worked meanwhile
};

// Times work(). The process's time may exceed the thread's by a little
// without another thread having resampled: the clocks are read one after
// the other.
template <typename Work>
Timing TimeOf(Work work) {
    ProcessorTimes before{};
    ProcessorTimes after{};
    const bool counted = ReadProcessorTimes(&before);
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto end = std::chrono::steady_clock::now();
    Timing timing;
    timing.elapsedMilliseconds = std::chrono::duration<double, std::milli>(end - start).count();
    if (counted && ReadProcessorTimes(&after)) {
        const double thread = after.threadMilliseconds - before.threadMilliseconds;
        const double process = after.processMilliseconds - before.processMilliseconds;
        timing.processorMilliseconds = thread;
        timing.counted = true;
        timing.onOneThread = process <= thread * 1.02 + 0.05;
    }
    return timing;
}

// Resamples as `request` asks and times it; an empty answer, or why it could not.
using RequestTimer = std::string (*)(const TimeRequest& request, Timing* timing);

// Answers requests until standard input ends; 0, or 2 on a line that is no
// request. Each answer is flushed at once: the driver waits on it.
inline int ServeTimeRequests(RequestTimer timer) {
    char line[256];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        TimeRequest request{};
        char factor[32];
        if (std::sscanf(line, "time %d %d %d %31s %d %d %u", &request.shape.width, &request.shape.height,
                        &request.shape.bits, factor, &request.toWidth, &request.toHeight, &request.threads) != 7) {
            std::printf("error not a request: %s", line);
            std::fflush(stdout);
            return 2;
        }
        request.factor = std::strtof(factor, nullptr);
        Timing timing;
        const std::string error = timer(request, &timing);
        if (!error.empty()) {
            std::printf("error %s\n", error.c_str());
        } else if (!timing.counted) {
            std::printf("%.4f unknown\n", timing.elapsedMilliseconds);
        } else if (!timing.onOneThread) {
            std::printf("%.4f shared\n", timing.elapsedMilliseconds);
        } else {
            std::printf("%.4f %.4f\n", timing.elapsedMilliseconds, timing.processorMilliseconds);
        }
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace bench
