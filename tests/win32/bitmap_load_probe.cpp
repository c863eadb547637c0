// Loads bitmap files with the system's loader as DIB sections, the load that
// crashes on some cut files, one after another, for the loader-proof test:
// the files are listed one path a line in LIST; the run starts at line FIRST
// (from 0).
// Before each load the line's number goes to LIST.progress, so that a crash
// names the file that caused it. Prints "done" there after the last one.
//   bitmap_load_probe LIST FIRST
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/bitmap.h"

namespace {

constexpr uint32_t kResamplingFlags = 0x2012;  // from the file, in colour, as a DIB section

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    std::ifstream list(argv[1]);
    const long first = std::strtol(argv[2], nullptr, 10);
    FILE* progress = std::fopen((std::string(argv[1]) + ".progress").c_str(), "w");
    if (!list || progress == nullptr) return 2;
    long number = 0;
    for (std::string path; std::getline(list, path); ++number) {
        if (number < first) continue;
        std::fprintf(progress, "%ld\n", number);
        std::fflush(progress);
        const platform::Bitmap bitmap = platform::LoadBitmapFile(path.c_str(), kResamplingFlags);
        if (bitmap != nullptr) platform::ReleaseBitmap(bitmap);
    }
    std::fprintf(progress, "done\n");
    std::fclose(progress);
    return 0;
}
