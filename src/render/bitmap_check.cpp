#include "render/bitmap_check.h"

#include <algorithm>

#include "platform/file.h"

namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeaderBytes = 12;  // the oldest header: 16-bit sizes, 3-byte colours
constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionBitFields = 3;

uint32_t Read16(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8);
}

uint32_t Read32(const uint8_t* p) {
    return Read16(p) | (Read16(p + 2) << 16);
}

bool IsUncompressedDepth(uint32_t bits) {
    for (uint32_t known : {1u, 4u, 8u, 16u, 24u, 32u}) {
        if (bits == known) return true;
    }
    return false;
}

}  // namespace

bool IsKnownBitmapHeaderSize(uint32_t size) {
    for (uint32_t known : {12u, 40u, 52u, 56u, 108u, 124u}) {
        if (size == known) return true;
    }
    return false;
}

bool IsWholeBitmap(const uint8_t* head, uint32_t length, uint64_t fileSize) {
    if (length < kFileHeaderBytes + 4 || fileSize < length) return false;
    if (head[0] != 'B' || head[1] != 'M') return false;
    const uint32_t pixelOffset = Read32(head + 10);
    const uint8_t* info = head + kFileHeaderBytes;
    const uint32_t headerSize = Read32(info);
    if (!IsKnownBitmapHeaderSize(headerSize)) return false;
    const bool core = headerSize == kCoreHeaderBytes;
    const uint32_t fieldsRead = core ? kCoreHeaderBytes : 40;
    if (length < kFileHeaderBytes + fieldsRead || fileSize < kFileHeaderBytes + uint64_t{headerSize}) return false;

    // Sizes are signed 32-bit in the info header, unsigned 16-bit in the core one.
    const int64_t width = core ? int64_t{Read16(info + 4)} : int64_t{static_cast<int32_t>(Read32(info + 4))};
    const int64_t height = core ? int64_t{Read16(info + 6)} : int64_t{static_cast<int32_t>(Read32(info + 8))};
    const uint32_t bits = core ? Read16(info + 10) : Read16(info + 14);
    const uint32_t compression = core ? kCompressionNone : Read32(info + 16);
    const uint32_t colorsUsed = core ? 0 : Read32(info + 32);
    if (width <= 0 || height == 0) return false;

    // Loaders read at most 256 colours, whatever the header claims.
    const uint64_t colors =
        colorsUsed != 0 ? std::min<uint32_t>(colorsUsed, 256) : (bits >= 1 && bits <= 8 ? (1u << bits) : 0);
    const uint64_t masks = headerSize == 40 && compression == kCompressionBitFields ? 12 : 0;
    const uint64_t tableEnd = kFileHeaderBytes + uint64_t{headerSize} + masks + colors * (core ? 3 : 4);
    if (tableEnd > fileSize) return false;
    if (pixelOffset >= fileSize) return false;

    if (compression != kCompressionNone && compression != kCompressionBitFields) return true;
    if (!IsUncompressedDepth(bits)) return false;
    // Stride times rows would overflow for absurd sizes: compare by division.
    const uint64_t stride = (static_cast<uint64_t>(bits) * static_cast<uint64_t>(width) + 31) / 32 * 4;
    const uint64_t rows = static_cast<uint64_t>(height < 0 ? -height : height);
    return rows <= (fileSize - pixelOffset) / stride;
}

bool BitmapFileIsWhole(const char* name) {
    platform::File file = platform::OpenFileForReading(name);
    if (file == nullptr) return false;
    uint8_t head[kBitmapHeadBytes] = {};
    uint32_t got = 0;
    const bool read = platform::ReadFromFile(file, head, sizeof head, &got);
    const uint32_t size = platform::FileSizeLow(file);
    platform::CloseFile(file);
    return read && IsWholeBitmap(head, got, size);
}
