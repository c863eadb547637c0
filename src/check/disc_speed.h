#pragma once
// How long a disc takes to give the menu its files: a seek for each file,
// then the drive's rate. A 16x DVD reads about 20 MB/s and a 48x CD about
// 7.2 MB/s; both need about 100 ms to find a file (a CD's seek is often
// slower, but one figure keeps the two rates comparable).

#include <cstdint>

struct DiscDrive {
    const char* name;
    double bytesPerSecond;
    double seekMilliseconds;
};

constexpr DiscDrive kDvd16x{"a 16x DVD", 20e6, 100.0};
constexpr DiscDrive kCd48x{"a 48x CD", 7.2e6, 100.0};

inline double ReadMilliseconds(const DiscDrive& drive, uint64_t bytes, uint32_t files) {
    return files * drive.seekMilliseconds + 1000.0 * static_cast<double>(bytes) / drive.bytesPerSecond;
}
