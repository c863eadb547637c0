#include "render/bitmap_check.h"

#include <algorithm>

#include "platform/little_endian.h"

namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeaderBytes = 12;  // the oldest header: 16-bit sizes, 3-byte colours
constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionBitFields = 3;

bool IsUncompressedDepth(uint32_t bits) {
    for (uint32_t known : {1u, 4u, 8u, 16u, 24u, 32u}) {
        if (bits == known) return true;
    }
    return false;
}

}  // namespace

bool ReadBitmapLayout(const uint8_t* head, uint32_t length, BitmapLayout* layout) {
    *layout = BitmapLayout{};
    if (length < kFileHeaderBytes + 4) return false;
    if (head[0] != 'B' || head[1] != 'M') return false;
    const uint8_t* info = head + kFileHeaderBytes;
    const uint32_t headerSize = ReadLittle32(info);
    if (!IsKnownBitmapHeaderSize(headerSize)) return false;
    const bool core = headerSize == kCoreHeaderBytes;
    if (length < kFileHeaderBytes + (core ? kCoreHeaderBytes : 40)) return false;

    // Sizes are signed 32-bit in the info header, unsigned 16-bit in the core one.
    layout->headerSize = headerSize;
    layout->core = core;
    layout->width = core ? int64_t{ReadLittle16(info + 4)} : int64_t{static_cast<int32_t>(ReadLittle32(info + 4))};
    layout->height = core ? int64_t{ReadLittle16(info + 6)} : int64_t{static_cast<int32_t>(ReadLittle32(info + 8))};
    layout->bits = core ? ReadLittle16(info + 10) : ReadLittle16(info + 14);
    layout->compression = core ? kCompressionNone : ReadLittle32(info + 16);
    layout->imageSize = core ? 0 : ReadLittle32(info + 20);
    layout->pixelOffset = ReadLittle32(head + 10);
    layout->colorsUsed = core ? 0 : ReadLittle32(info + 32);

    // Loaders read at most 256 colours, whatever the header claims; without
    // a count, every colour of the depth (one for a depth of 0).
    const uint64_t colors = layout->colorsUsed != 0 ? std::min<uint32_t>(layout->colorsUsed, 256)
                                                    : (layout->bits <= 8 ? (1u << layout->bits) : 0);
    const uint64_t masks = headerSize == 40 && layout->compression == kCompressionBitFields ? 12 : 0;
    layout->tableEnd = kFileHeaderBytes + uint64_t{headerSize} + masks + colors * (core ? 3 : 4);
    // An offset of 0, or of the file header's own size, leaves the loader to
    // find the rows right after the colour table.
    const bool given = layout->pixelOffset != 0 && layout->pixelOffset != kFileHeaderBytes;
    layout->rowsOffset = given ? layout->pixelOffset : layout->tableEnd;
    return true;
}

bool IsKnownBitmapHeaderSize(uint32_t size) {
    for (uint32_t known : {12u, 40u, 52u, 56u, 108u, 124u}) {
        if (size == known) return true;
    }
    return false;
}

bool IsWholeBitmap(const uint8_t* head, uint32_t length, uint64_t fileSize) {
    BitmapLayout layout{};
    if (fileSize < length || !ReadBitmapLayout(head, length, &layout)) return false;
    if (layout.width <= 0 || layout.height == 0) return false;
    // The loader reads the byte that follows the colour table, whatever the
    // rows, and takes an offset inside the file header as a distance from
    // the info header: the 64-bit loader then looks 4 GiB beyond the file.
    if (layout.tableEnd >= fileSize) return false;
    if (layout.pixelOffset != 0 && layout.pixelOffset < kFileHeaderBytes) return false;
    if (layout.rowsOffset >= fileSize) return false;

    // Compressed rows are read as far as the header's image size goes.
    if (layout.compression != kCompressionNone && layout.compression != kCompressionBitFields) {
        return layout.imageSize <= fileSize - layout.rowsOffset;
    }
    if (!IsUncompressedDepth(layout.bits)) return false;
    // Stride times rows would overflow for absurd sizes: compare by division.
    const uint64_t stride = (static_cast<uint64_t>(layout.bits) * static_cast<uint64_t>(layout.width) + 31) / 32 * 4;
    const uint64_t rows = static_cast<uint64_t>(layout.height < 0 ? -layout.height : layout.height);
    return rows <= (fileSize - layout.rowsOffset) / stride;
}

uint64_t PixelRowsOffset(const uint8_t* head, uint32_t length) {
    BitmapLayout layout{};
    return ReadBitmapLayout(head, length, &layout) ? layout.rowsOffset : 0;
}
