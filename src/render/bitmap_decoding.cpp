#include "render/bitmap_decoding.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "render/bitmap_check.h"

namespace {

constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionRle8 = 1;
constexpr uint32_t kCompressionRle4 = 2;

// The second byte of a pair whose count is 0.
constexpr uint8_t kEndOfLine = 0;
constexpr uint8_t kEndOfBitmap = 1;
constexpr uint8_t kDelta = 2;

void PutPixel(uint8_t* row, int32_t bitsPerPixel, int64_t x, uint8_t index) {
    if (bitsPerPixel == 8) {
        row[x] = index;
        return;
    }
    uint8_t& pair = row[x / 2];
    pair = x % 2 == 0 ? static_cast<uint8_t>((pair & 0x0F) | (index << 4))
                      : static_cast<uint8_t>((pair & 0xF0) | (index & 0x0F));
}

// The k-th index of a run's bytes: for 4 bits, the high half of a byte first.
uint8_t IndexAt(const uint8_t* bytes, int32_t bitsPerPixel, size_t k) {
    if (bitsPerPixel == 8) return bytes[k];
    return k % 2 == 0 ? static_cast<uint8_t>(bytes[k / 2] >> 4) : static_cast<uint8_t>(bytes[k / 2] & 0x0F);
}

// The file's headers; false for a file too short to hold them.
bool ReadLayout(const uint8_t* file, size_t size, BitmapLayout* layout) {
    return ReadBitmapLayout(file, static_cast<uint32_t>(std::min<size_t>(size, kBitmapHeadBytes)), layout);
}

// Every entry of the depth, as many as the header says; those the file
// lacks are black. `table` holds 256 entries of 4 bytes, zero beforehand.
void ReadColorTable(const uint8_t* file, size_t size, const BitmapLayout& layout, uint8_t* table) {
    if (layout.bits > 8) return;
    const uint32_t entries = 1u << layout.bits;
    const uint32_t given = std::min(layout.colorsUsed != 0 ? layout.colorsUsed : entries, entries);
    const size_t entryBytes = layout.core ? 3 : 4;
    const size_t start = 14 + size_t{layout.headerSize};
    for (uint32_t k = 0; k < given && start + (k + 1) * entryBytes <= size; ++k) {
        std::copy_n(file + start + k * entryBytes, 3, table + k * 4);
    }
}

// The loader decodes a stream only of its own depth, in bottom-up rows and
// with an image size; of any other it makes the section and fills no pixel.
bool DecodesStream(const BitmapLayout& layout) {
    const uint32_t streamBits = layout.compression == kCompressionRle8   ? 8
                                : layout.compression == kCompressionRle4 ? 4
                                                                         : 0;
    return layout.bits == streamBits && layout.height > 0 && layout.imageSize != 0;
}

}  // namespace

// The loader reads pairs of bytes as far as the stream goes: a count and an
// index (two alternating indices for 4 bits), or 0 and an escape. It stops
// at the end of the bitmap, at a line end or delta past the last row, and
// where a pair, a delta's offsets or an absolute run's indices would reach
// past the stream; what it wrote until then stays. Pixels a run or a delta
// would put beyond the width are dropped: nothing continues on the next row.
void DecodeRunLength(const uint8_t* stream, size_t length, int32_t bitsPerPixel, int32_t width, int32_t height,
                     uint32_t rowBytes, uint8_t* rows) {
    int64_t x = 0;
    int64_t y = 0;
    size_t at = 0;
    while (at + 1 < length && y < height) {
        const uint8_t count = stream[at];
        const uint8_t second = stream[at + 1];
        at += 2;
        uint8_t* row = rows + static_cast<size_t>(y) * rowBytes;
        if (count > 0) {
            // An encoded run: one index, or for 4 bits the two halves of the byte in turn.
            for (size_t k = 0; k < count && x < width; ++k, ++x) {
                PutPixel(row, bitsPerPixel, x, bitsPerPixel == 8 ? second : IndexAt(&second, 4, k % 2));
            }
            continue;
        }
        switch (second) {
            case kEndOfLine:
                x = 0;
                ++y;
                break;
            case kEndOfBitmap:
                return;
            case kDelta:
                if (at + 1 >= length) return;
                x += stream[at];
                y += stream[at + 1];
                at += 2;
                break;
            default: {
                // An absolute run of `second` indices, padded to a whole 16-bit word.
                const size_t bytes = (size_t{second} * static_cast<uint32_t>(bitsPerPixel) + 7) / 8;
                if (bytes > length - at) return;
                for (size_t k = 0; k < second && x < width; ++k, ++x) {
                    PutPixel(row, bitsPerPixel, x, IndexAt(stream + at, bitsPerPixel, k));
                }
                at += (bytes + 1) / 2 * 2;
                break;
            }
        }
    }
}

bool DecodeBitmapFile(const std::vector<uint8_t>& file, DecodedBitmap* decoded) {
    *decoded = DecodedBitmap{};
    BitmapLayout layout{};
    if (!ReadLayout(file.data(), file.size(), &layout)) return false;
    const uint64_t rowsOffset = layout.rowsOffset;
    const int64_t width = layout.width;
    const int64_t storedHeight = layout.height;
    const uint32_t bits = layout.bits;
    const bool known = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (width <= 0 || storedHeight == 0 || storedHeight < -INT32_MAX || !known) return false;
    if (layout.compression != kCompressionNone && layout.compression != kCompressionRle8 &&
        layout.compression != kCompressionRle4) {
        return false;
    }

    decoded->width = static_cast<int32_t>(width);
    decoded->height = static_cast<int32_t>(storedHeight < 0 ? -storedHeight : storedHeight);
    decoded->bitsPerPixel = static_cast<int32_t>(bits);
    decoded->topDown = storedHeight < 0;
    const uint64_t rowBytes = (uint64_t{bits} * static_cast<uint64_t>(width) + 31) / 32 * 4;
    // Stride times rows would overflow for absurd sizes: compare by division.
    if (rowBytes > UINT32_MAX || rowBytes > decoded->rows.max_size() / static_cast<uint32_t>(decoded->height)) {
        return false;
    }
    decoded->rowBytes = static_cast<uint32_t>(rowBytes);
    try {
        decoded->rows.resize(static_cast<size_t>(rowBytes) * static_cast<uint32_t>(decoded->height));
        decoded->colorTable.resize(256 * 4);
    } catch (const std::bad_alloc&) {
        return false;
    }
    ReadColorTable(file.data(), file.size(), layout, decoded->colorTable.data());

    if (rowsOffset >= file.size()) return true;
    const uint8_t* pixels = file.data() + rowsOffset;
    const size_t available = file.size() - static_cast<size_t>(rowsOffset);
    if (layout.compression == kCompressionNone) {
        std::copy_n(pixels, std::min(available, decoded->rows.size()), decoded->rows.data());
    } else if (DecodesStream(layout)) {
        DecodeRunLength(pixels, std::min<size_t>(available, layout.imageSize), decoded->bitsPerPixel, decoded->width,
                        decoded->height, decoded->rowBytes, decoded->rows.data());
    }
    return true;
}

// The checked file holds every plain row: they are read where they are.
bool PalettePicture::Read(const uint8_t* file, size_t size) {
    source = SourcePicture{};
    decodedRows.clear();
    const uint32_t headLength = static_cast<uint32_t>(std::min<size_t>(size, kBitmapHeadBytes));
    BitmapLayout layout{};
    if (!IsWholeBitmap(file, headLength, size) || !ReadLayout(file, size, &layout)) return false;
    if (layout.bits != 4 && layout.bits != 8) return false;

    std::fill(std::begin(colorTable), std::end(colorTable), uint8_t{0});
    ReadColorTable(file, size, layout, colorTable);
    const int64_t height = layout.height < 0 ? -layout.height : layout.height;
    const uint8_t* rows = file + layout.rowsOffset;
    if (layout.compression != kCompressionNone) {
        const size_t stride = SourceStride(static_cast<int32_t>(layout.width), static_cast<int32_t>(layout.bits));
        // As the system could make no section of such rows.
        if (static_cast<uint64_t>(height) > decodedRows.max_size() / stride) return false;
        try {
            decodedRows.assign(stride * static_cast<size_t>(height), 0);
        } catch (const std::bad_alloc&) {
            return false;
        }
        if (DecodesStream(layout)) {
            DecodeRunLength(rows, layout.imageSize, static_cast<int32_t>(layout.bits),
                            static_cast<int32_t>(layout.width), static_cast<int32_t>(height),
                            static_cast<uint32_t>(stride), decodedRows.data());
        }
        rows = decodedRows.data();
    }
    source = SourcePicture{static_cast<int32_t>(layout.width), static_cast<int32_t>(height),
                           static_cast<int32_t>(layout.bits), rows, layout.height < 0, colorTable,
                           1u << layout.bits};
    return true;
}
