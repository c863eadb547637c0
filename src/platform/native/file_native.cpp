// Host-build file reading over the C library, for the unit tests.
#include <cstdio>
#include <sys/stat.h>

#include "platform/file.h"

namespace platform {

File OpenFileForReading(const char* path) {
    return reinterpret_cast<File>(std::fopen(path, "rb"));
}

uint32_t FileSizeLow(File file) {
    struct stat info {};
    if (fstat(fileno(reinterpret_cast<FILE*>(file)), &info) != 0) return 0;
    return static_cast<uint32_t>(info.st_size);
}

bool ReadFromFile(File file, void* buffer, uint32_t wanted, uint32_t* got) {
    FILE* stream = reinterpret_cast<FILE*>(file);
    *got = static_cast<uint32_t>(std::fread(buffer, 1, wanted, stream));
    return std::ferror(stream) == 0;
}

void CloseFile(File file) {
    std::fclose(reinterpret_cast<FILE*>(file));
}

}  // namespace platform
