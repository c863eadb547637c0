#include "check/picture_pixels.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "render/bitmap_check.h"

namespace {

// Larger pictures are not drawn: their pixels alone would take hundreds of
// megabytes at scale 1.
constexpr int64_t kMostPixels = int64_t{4096} * 4096;

uint32_t Read16(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8);
}

uint32_t Read32(const uint8_t* p) {
    return Read16(p) | (Read16(p + 2) << 16);
}

}  // namespace

PictureAsShown ReadPictureAsShown(const std::filesystem::path& file, float scale) {
    PictureAsShown shown;
    std::ifstream in(file, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Rows the file lacks would be drawn as the system pleases.
    if (!IsWholeBitmap(bytes.data(), static_cast<uint32_t>(std::min<size_t>(bytes.size(), kBitmapHeadBytes)),
                       bytes.size())) {
        shown.notDrawn = "the file is not whole";
        return shown;
    }
    const uint8_t* info = bytes.data() + 14;
    const uint32_t headerSize = Read32(info);
    const bool core = headerSize == 12;
    const int32_t width = core ? static_cast<int32_t>(Read16(info + 4)) : static_cast<int32_t>(Read32(info + 4));
    const int32_t storedHeight =
        core ? static_cast<int32_t>(Read16(info + 6)) : static_cast<int32_t>(Read32(info + 8));
    const int32_t height = storedHeight < 0 ? -storedHeight : storedHeight;
    const int32_t bits = static_cast<int32_t>(core ? Read16(info + 10) : Read16(info + 14));
    if (!core && Read32(info + 16) != 0) {
        shown.notDrawn = "its pixels are not stored as plain rows";
        return shown;
    }
    if (int64_t{width} * height > kMostPixels) {
        shown.notDrawn = "it has more than 4096 x 4096 pixels";
        return shown;
    }
    const uint8_t* rows = bytes.data() + Read32(bytes.data() + 10);

    if (bits == 4 || bits == 8) {
        // The menu reads a whole table; entries the file lacks are black.
        const uint32_t entries = 1u << bits;
        const uint32_t colorsUsed = core ? 0 : Read32(info + 32);
        const uint32_t given = std::min(colorsUsed != 0 ? colorsUsed : entries, entries);
        const uint32_t entryBytes = core ? 3 : 4;
        std::vector<uint8_t> table(entries * 4, 0);
        const uint8_t* from = info + headerSize;
        for (uint32_t k = 0; k < given; ++k) std::copy(from + k * entryBytes, from + k * entryBytes + 3, &table[k * 4]);
        const SourcePicture source{width, height, bits, rows, storedHeight < 0, table.data(), entries};
        shown.pixels = ResampleAreaAverage(source, scale, scale);
        if (shown.pixels.width == 0) shown.notDrawn = "it shrinks to nothing";
        return shown;
    }
    if (scale == 1.0f && (bits == 24 || bits == 32)) {
        const size_t stride = SourceStride(width, bits);
        const int32_t bytesPerPixel = bits / 8;
        shown.pixels.width = width;
        shown.pixels.height = height;
        shown.pixels.pixels.resize(static_cast<size_t>(width) * height);
        for (int32_t y = 0; y < height; ++y) {
            const uint8_t* row = rows + stride * static_cast<size_t>(storedHeight < 0 ? height - 1 - y : y);
            for (int32_t x = 0; x < width; ++x) {
                const uint8_t* p = row + x * bytesPerPixel;
                shown.pixels.pixels[static_cast<size_t>(y) * width + x] =
                    static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16);
            }
        }
        return shown;
    }
    shown.notDrawn = "the layout draws no " + std::to_string(bits) + "-bit picture";
    return shown;
}
