#pragma once
// The palettised pictures that the resampler is measured on, made in code:
// soft gradients with grain, as a photographic background reduced to 256 or
// 16 colours looks. write_pictures saves the same pixels as bitmap files, so
// that the resampler's peers resample exactly the picture it does.

#include <cstdint>
#include <string>
#include <vector>

#include "render/resample.h"
#include "support/fixture_bytes.h"

namespace bench {

struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bits = 8;
    std::vector<uint8_t> indices;  // one per pixel, bottom row first
    std::vector<fixture::PaletteEntry> palette;
    std::vector<uint8_t> rows;   // the indices packed as a bitmap file stores them
    std::vector<uint8_t> table;  // blue, green, red, reserved per entry

    SourcePicture Source() const {
        return SourcePicture{width, height, bits, rows.data(), false, table.data(),
                             static_cast<uint32_t>(palette.size())};
    }
    std::string FileBytes() const { return fixture::PaletteBitmap(width, height, bits, palette, indices); }
};

inline Picture MakePicture(int32_t width, int32_t height, int32_t bits) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.bits = bits;
    const uint32_t colors = bits == 8 ? 256u : 16u;
    for (uint32_t k = 0; k < colors; ++k) {
        // A ramp from deep blue through teal to warm light.
        const uint32_t t = k * 255 / (colors - 1);
        picture.palette.push_back(fixture::PaletteEntry{static_cast<uint8_t>(t * t / 255),
                                                        static_cast<uint8_t>(40 + t * 3 / 4),
                                                        static_cast<uint8_t>(255 - t / 2)});
    }
    uint32_t seed = 12345;
    picture.indices.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const uint32_t grain = seed >> 29;  // 0..7
            const uint32_t level = (static_cast<uint32_t>(x) * 170 / static_cast<uint32_t>(width) +
                                    static_cast<uint32_t>(y) * 80 / static_cast<uint32_t>(height) + grain) %
                                   256;
            picture.indices[static_cast<size_t>(y) * width + x] =
                static_cast<uint8_t>(bits == 8 ? level : level * 16 / 256);
        }
    }
    const uint32_t stride = SourceStride(width, bits);
    picture.rows.assign(static_cast<size_t>(stride) * static_cast<size_t>(height), 0);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = picture.rows.data() + static_cast<size_t>(y) * stride;
        const uint8_t* line = picture.indices.data() + static_cast<size_t>(y) * width;
        for (int32_t x = 0; x < width; ++x) {
            if (bits == 8) {
                row[x] = line[x];
            } else {
                row[x / 2] = static_cast<uint8_t>(row[x / 2] | (x % 2 == 0 ? line[x] << 4 : line[x]));
            }
        }
    }
    for (const fixture::PaletteEntry& entry : picture.palette) {
        picture.table.insert(picture.table.end(), {entry.blue, entry.green, entry.red, 0});
    }
    return picture;
}

}  // namespace bench
