#include "check/rle8_encoding.h"

#include <cstddef>

namespace {

constexpr size_t kLongestRun = 255;
// A run this long or longer is worth its own pair inside indices that vary.
constexpr size_t kWorthARun = 3;

// How many indices from `x` on are the same as the one at `x`, at most a run's worth.
size_t RunAt(const uint8_t* row, size_t x, size_t width) {
    size_t run = 1;
    while (x + run < width && run < kLongestRun && row[x + run] == row[x]) ++run;
    return run;
}

void EncodeRow(const uint8_t* row, size_t width, std::vector<uint8_t>* stream) {
    size_t x = 0;
    while (x < width) {
        const size_t run = RunAt(row, x, width);
        if (run >= kWorthARun) {
            stream->insert(stream->end(), {static_cast<uint8_t>(run), row[x]});
            x += run;
            continue;
        }
        // Indices up to the next run worth its pair: an absolute run of
        // them, or their runs one by one where that is shorter (and always
        // below 3, whose counts 1 and 2 are escapes in an absolute run).
        const size_t start = x;
        while (x < width && x - start < kLongestRun && RunAt(row, x, width) < kWorthARun) ++x;
        const size_t count = x - start;
        size_t runs = 0;
        for (size_t k = start; k < x; k += RunAt(row, k, x)) ++runs;
        if (count >= 3 && 2 + count + count % 2 <= 2 * runs) {
            stream->insert(stream->end(), {0, static_cast<uint8_t>(count)});
            stream->insert(stream->end(), row + start, row + x);
            if (count % 2 == 1) stream->push_back(0);
            continue;
        }
        for (size_t k = start; k < x;) {
            const size_t same = RunAt(row, k, x);
            stream->insert(stream->end(), {static_cast<uint8_t>(same), row[k]});
            k += same;
        }
    }
}

}  // namespace

std::vector<uint8_t> EncodeRle8(const uint8_t* rows, uint32_t rowBytes, int32_t width, int32_t height) {
    std::vector<uint8_t> stream;
    for (int32_t y = 0; y < height; ++y) {
        EncodeRow(rows + static_cast<size_t>(y) * rowBytes, static_cast<size_t>(width), &stream);
        if (y + 1 < height) stream.insert(stream.end(), {0, 0});
    }
    stream.insert(stream.end(), {0, 1});
    return stream;
}
