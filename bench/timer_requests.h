#pragma once
// The line protocol that bench/resample_peers.py speaks with each timer it
// interleaves: a request on standard input,
//   time WIDTH HEIGHT BITS FACTOR TO_WIDTH TO_HEIGHT THREADS
// (resample the WIDTHxHEIGHT picture of BITS bits per pixel by FACTOR, into
// TO_WIDTHxTO_HEIGHT pixels, on THREADS threads) is answered by one line on
// standard output: the milliseconds that one resampling took, or
// "error <why>". A timer stays idle between requests, so that the timers
// take turns on the processor.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "resample_cases.h"

namespace bench {

struct TimeRequest {
    PictureShape shape;
    float factor;
    int32_t toWidth;
    int32_t toHeight;
    uint32_t threads;
};

// Resamples as `request` asks and sets `milliseconds` to the time that took;
// an empty answer, or why it could not.
using RequestTimer = std::string (*)(const TimeRequest& request, double* milliseconds);

inline double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

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
        double milliseconds = 0;
        const std::string error = timer(request, &milliseconds);
        if (error.empty()) {
            std::printf("%.4f\n", milliseconds);
        } else {
            std::printf("error %s\n", error.c_str());
        }
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace bench
