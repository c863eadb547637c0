#include "check/picture_pixels.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "check/bitmap_facts.h"
#include "render/bitmap_decoding.h"
#include "render/bitmap_check.h"

namespace {

// Larger pictures are not drawn: their pixels alone would take hundreds of
// megabytes at scale 1.
constexpr int64_t kMostPixels = int64_t{4096} * 4096;

}  // namespace

// The pixels are those the offline layer gives the menu in place of the
// system's loader, so that the picture shows what the menu resamples.
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
    const BitmapFacts facts = ReadBitmapFacts(file);
    if (int64_t{facts.width} * facts.height > kMostPixels) {
        shown.notDrawn = "it has more than 4096 x 4096 pixels";
        return shown;
    }
    DecodedBitmap decoded;
    if (!DecodeBitmapFile(bytes, &decoded)) {
        shown.notDrawn = "its pixels are neither plain rows nor run-length encoded";
        return shown;
    }
    const int32_t width = decoded.width;
    const int32_t height = decoded.height;
    const int32_t bits = decoded.bitsPerPixel;

    if (bits == 4 || bits == 8) {
        const SourcePicture source{width,          height, bits, decoded.rows.data(), decoded.topDown,
                                   decoded.colorTable.data(), 1u << bits};
        shown.pixels = ResampleAreaAverage(source, scale, scale);
        if (shown.pixels.width == 0) shown.notDrawn = "it shrinks to nothing";
        return shown;
    }
    if (scale == 1.0f && (bits == 24 || bits == 32)) {
        const int32_t bytesPerPixel = bits / 8;
        shown.pixels.width = width;
        shown.pixels.height = height;
        shown.pixels.pixels.resize(static_cast<size_t>(width) * height);
        for (int32_t y = 0; y < height; ++y) {
            const uint8_t* row = decoded.rows.data() + size_t{decoded.rowBytes} * (decoded.topDown ? height - 1 - y : y);
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
