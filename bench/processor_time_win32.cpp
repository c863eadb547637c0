// Windows counts no processor time finely enough for the bench.
#include "processor_time.h"

namespace bench {

// GetThreadTimes counts in the scheduler's ticks (10 ms under Wine, about
// 15.6 ms on Windows), and Wine answers no thread cycle times: too coarse for
// a resampling of a few milliseconds, so the Windows builds time by the clock.
bool ReadProcessorTimes(ProcessorTimes*) { return false; }

}  // namespace bench
