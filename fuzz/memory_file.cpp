#include "memory_file.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/file.h"

namespace {

struct MemoryFile {
    std::string path;
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t position = 0;
};

MemoryFile served;

}  // namespace

void ServeFile(const char* path, const uint8_t* data, size_t size) {
    served = MemoryFile{path, data, size, 0};
}

namespace platform {

File OpenFileForReading(const char* path) {
    if (served.path != path) return nullptr;
    served.position = 0;
    return reinterpret_cast<File>(&served);
}

uint32_t FileSizeLow(File file) {
    return static_cast<uint32_t>(reinterpret_cast<MemoryFile*>(file)->size);
}

bool ReadFromFile(File file, void* buffer, uint32_t wanted, uint32_t* got) {
    MemoryFile& f = *reinterpret_cast<MemoryFile*>(file);
    const size_t count = std::min<size_t>(wanted, f.size - f.position);
    if (count > 0) std::memcpy(buffer, f.data + f.position, count);
    f.position += count;
    *got = static_cast<uint32_t>(count);
    return true;
}

void CloseFile(File) {}

}  // namespace platform
