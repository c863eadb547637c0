#pragma once
// The resampler's destination rows shared among the processor's cores, when
// the picture is large enough for threads to pay.

#include <cstdint>

#include "platform/threads.h"
#include "render/resample.h"

// Below this many products per thread, starting a thread costs more than it
// saves. Starting and ending a thread takes about 1.1 ms under Wine, well
// under 0.1 ms natively. scripts/bench's resample-break-even and
// resample-threads lines, two threads against one: under Wine no gain at
// 8.3 million products (2560x1440 at 0.75, 64-bit: 5.2 against 6.8 ms), a
// gain from 14.5 million up (3840x2160 at 0.33, 32-bit: 10.4 against 7.6 ms);
// natively a gain from 0.7 million (640x480 at 0.75) up.
constexpr uint64_t kContributionsPerThread = 5500000;

// The threads that pay for a resampling of `contributions` products over
// `rows` destination rows: one per kContributionsPerThread products, no more
// than the processors or the rows, at least one.
uint32_t ResampleThreadCount(uint64_t contributions, int32_t rows, uint32_t processors);

// Starts work(context) on a thread of its own, or answers none; never throws.
using ThreadStarter = platform::Thread (*)(void (*work)(void* context), void* context);

// Computes rows first to end - 1; may throw.
using RowWork = void (*)(const void* context, int32_t first, int32_t end);

// Computes rows 0 to rows - 1 in `threads` bands of neighbouring rows: the
// first band on the calling thread, each other one on a thread of its own,
// started by `start`. A band whose thread cannot be started is computed on
// the calling thread. Every band runs and every thread started is waited
// for, whatever fails; then the first band's failure that any band raised
// is raised again. Returns how many threads computed bands.
uint32_t RunInBands(int32_t rows, uint32_t threads, RowWork work, const void* context,
                    ThreadStarter start = platform::StartThread);

// RunInBands over the rows of one resampling.
uint32_t RunResampleRows(const ResampleRows& rows, uint32_t threads, ThreadStarter start = platform::StartThread);

// ResampleAreaAverageInto with the widest way of summing, on as many of the
// processor's cores as pay.
bool ResampleOnCores(const SourcePicture& source, float horizontalFactor, float verticalFactor, Size size,
                     uint32_t* destination);
