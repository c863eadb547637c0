// The host's processor clocks, counted in nanoseconds.
#include <time.h>

#include "processor_time.h"

namespace bench {

namespace {

bool ReadClock(clockid_t clock, double* milliseconds) {
    timespec now{};
    if (clock_gettime(clock, &now) != 0) return false;
    *milliseconds = static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
    return true;
}

}  // namespace

bool ReadProcessorTimes(ProcessorTimes* times) {
    return ReadClock(CLOCK_THREAD_CPUTIME_ID, &times->threadMilliseconds) &&
           ReadClock(CLOCK_PROCESS_CPUTIME_ID, &times->processMilliseconds);
}

}  // namespace bench
