#pragma once
// The area-averaging algorithm written out step by step, per destination
// pixel, with nothing worked out ahead: the yardstick that the resampler's
// precomputed spans must match bit for bit, and the benchmark's baseline.
// Bottom-up 8- or 4-bit sources with whole colour tables only.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "render/resample.h"

namespace literal {

inline ResampledPicture Resample(const SourcePicture& source, float factorX, float factorY) {
    ResampledPicture out;
    Size size{};
    if (!ResampledSize(source.width, source.height, factorX, factorY, &size)) return out;
    out.width = size.width;
    out.height = size.height;
    out.pixels.resize(static_cast<size_t>(size.width) * size.height);
    const uint32_t stride = SourceStride(source.width, source.bitsPerPixel);
    const float invX = static_cast<float>(1.0 / static_cast<double>(factorX));
    const float invY = static_cast<float>(1.0 / static_cast<double>(factorY));
    for (int32_t y = 0; y < size.height; ++y) {
        for (int32_t x = 0; x < size.width; ++x) {
            const float y0 = static_cast<float>(static_cast<double>(y) * invY);
            const float y1 = static_cast<float>(static_cast<double>(y + 1) * invY);
            const float x0 = static_cast<float>(static_cast<double>(x) * invX);
            const float x1 = static_cast<float>(static_cast<double>(x + 1) * invX);
            float red = 0, green = 0, blue = 0;
            for (int32_t j = static_cast<int32_t>(y0); j < y1 && j < source.height; ++j) {
                const float weightY = static_cast<float>(
                    (std::min(static_cast<double>(j + 1), static_cast<double>(y1)) - std::max<double>(j, y0)) *
                    static_cast<double>(factorY));
                for (int32_t i = static_cast<int32_t>(x0); i < x1 && i < source.width; ++i) {
                    const float weightX = static_cast<float>(
                        (std::min(static_cast<double>(i + 1), static_cast<double>(x1)) - std::max<double>(i, x0)) *
                        static_cast<double>(factorX));
                    const uint8_t* row = source.rows + static_cast<size_t>(j) * stride;
                    uint32_t index = source.bitsPerPixel == 8 ? row[i] : (i % 2 == 0 ? row[i / 2] >> 4 : row[i / 2] & 15);
                    const uint8_t* color = source.colorTable + 4 * index;
                    red = static_cast<float>(red + (static_cast<double>(color[2]) * weightX) * weightY);
                    green = static_cast<float>(green + (static_cast<double>(color[1]) * weightX) * weightY);
                    blue = static_cast<float>(blue + (static_cast<double>(color[0]) * weightX) * weightY);
                }
            }
            red = red < 255 ? red : 255;
            green = green < 255 ? green : 255;
            blue = blue < 255 ? blue : 255;
            out.pixels[static_cast<size_t>(y) * size.width + x] = static_cast<uint32_t>(blue) |
                                                                  (static_cast<uint32_t>(green) << 8) |
                                                                  (static_cast<uint32_t>(red) << 16);
        }
    }
    return out;
}

}  // namespace literal
