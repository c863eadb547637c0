#include "render/resample_threads.h"

#include <algorithm>
#include <exception>
#include <vector>

namespace {

struct Band {
    RowWork work;
    const void* context;
    int32_t first;
    int32_t end;
    // What the band raised, handed to the calling thread: nothing may
    // leave a thread's own function, or the process ends.
    std::exception_ptr failure;
};

void RunBand(void* context) {
    Band* band = static_cast<Band*>(context);
    try {
        band->work(band->context, band->first, band->end);
    } catch (...) {
        band->failure = std::current_exception();
    }
}

void RunRows(const void* context, int32_t first, int32_t end) {
    static_cast<const ResampleRows*>(context)->Run(first, end);
}

}  // namespace

uint32_t ResampleThreadCount(uint64_t contributions, int32_t rows, uint32_t processors) {
    const uint64_t paying = contributions / kContributionsPerThread;
    const uint64_t most = std::min<uint64_t>(processors, rows > 0 ? static_cast<uint64_t>(rows) : 1);
    return static_cast<uint32_t>(std::max<uint64_t>(1, std::min(paying, most)));
}

// The bands and the threads' handles are made before any thread starts, and
// nothing that runs between a start and its wait can throw: a failure that
// unwound past a running thread would free the bands and the picture it
// still writes.
uint32_t RunInBands(int32_t rows, uint32_t threads, RowWork work, const void* context, ThreadStarter start) {
    const int64_t height = rows;
    threads = static_cast<uint32_t>(std::max<int64_t>(1, std::min<int64_t>(threads, height)));
    std::vector<Band> bands(threads);
    for (uint32_t b = 0; b < threads; ++b) {
        bands[b] = Band{work, context, static_cast<int32_t>(height * b / threads),
                        static_cast<int32_t>(height * (b + 1) / threads), nullptr};
    }
    std::vector<platform::Thread> started(threads, nullptr);
    for (uint32_t b = 1; b < threads; ++b) started[b] = start(RunBand, &bands[b]);
    RunBand(&bands[0]);
    uint32_t ran = 1;
    for (uint32_t b = 1; b < threads; ++b) {
        if (started[b] == nullptr) {
            RunBand(&bands[b]);
        } else {
            platform::FinishThread(started[b]);
            ++ran;
        }
    }
    for (const Band& band : bands) {
        if (band.failure != nullptr) std::rethrow_exception(band.failure);
    }
    return ran;
}

uint32_t RunResampleRows(const ResampleRows& rows, uint32_t threads, ThreadStarter start) {
    return RunInBands(rows.Rows(), threads, RunRows, &rows, start);
}

bool ResampleOnCores(const SourcePicture& source, float horizontalFactor, float verticalFactor, Size size,
                     uint32_t* destination) {
    const ResampleRows rows(source, horizontalFactor, verticalFactor, size, destination, WidestResampleInstructions());
    if (!rows.Valid()) return false;
    RunResampleRows(rows, ResampleThreadCount(rows.Contributions(), rows.Rows(), platform::ProcessorCount()));
    return true;
}
