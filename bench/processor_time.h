#pragma once
// The processor time spent by the calling thread and by its whole process,
// for the bench's timers: a resampling that ran on the calling thread alone
// is timed by the thread's processor time, which waiting for the processor
// while other programs run does not lengthen.

namespace bench {

struct ProcessorTimes {
    double threadMilliseconds;
    double processMilliseconds;
};

// False where the system does not count them finely enough to time one
// resampling of a millisecond or two.
bool ReadProcessorTimes(ProcessorTimes* times);

}  // namespace bench
