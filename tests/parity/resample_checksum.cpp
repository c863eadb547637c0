// Resamples a fixed set of generated pictures and prints one checksum line
// per picture and factor pair, marked when the ways of summing that the
// processor allows disagree. Built natively and for Windows; scripts/test
// runs both and fails when their outputs differ, since the two builds must
// produce the same pixels bit for bit.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "render/resample.h"

namespace {

// A small linear congruential generator: the same numbers on every platform.
class Numbers {
public:
    explicit Numbers(uint32_t seed) : state(seed) {}
    uint32_t Next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }

private:
    uint32_t state;
};

uint64_t Fnv1a(const std::vector<uint32_t>& pixels) {
    uint64_t hash = 14695981039346656037ull;
    for (uint32_t pixel : pixels) {
        for (int shift = 0; shift < 32; shift += 8) {
            hash ^= (pixel >> shift) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

struct Picture {
    int32_t width;
    int32_t height;
    int32_t bits;
    bool topDown;
    uint32_t colors;  // entries in the colour table
};

// False when the ways of summing disagree.
bool Print(const Picture& shape, uint32_t seed, float factorX, float factorY) {
    Numbers numbers(seed);
    const uint32_t stride = SourceStride(shape.width, shape.bits);
    std::vector<uint8_t> rows(static_cast<size_t>(stride) * shape.height);
    // Smooth areas with noise, so that spans mix near and far colours.
    for (size_t k = 0; k < rows.size(); ++k) {
        rows[k] = static_cast<uint8_t>(numbers.Next() % 7 == 0 ? numbers.Next() : (k / 3) * 37);
    }
    std::vector<uint8_t> table(static_cast<size_t>(shape.colors) * 4);
    for (uint8_t& byte : table) byte = static_cast<uint8_t>(numbers.Next() % 4 == 0 ? 255 : numbers.Next());
    const SourcePicture source{shape.width, shape.height, shape.bits, rows.data(), shape.topDown, table.data(),
                               shape.colors};
    const ResampledPicture out = ResampleAreaAverage(source, factorX, factorY);
    // Every way of summing this processor allows must give the same pixels.
    bool waysAgree = true;
    for (ResampleInstructions way : AvailableResampleInstructions()) {
        std::vector<uint32_t> pixels(out.pixels.size());
        if (!out.pixels.empty()) {
            ResampleAreaAverageInto(source, factorX, factorY, Size{out.width, out.height}, pixels.data(), way);
        }
        waysAgree = waysAgree && pixels == out.pixels;
    }
    std::printf("%dx%d %d-bit%s %u colours at %.9g x %.9g: %dx%d %016llx%s\n", shape.width, shape.height, shape.bits,
                shape.topDown ? " top-down" : "", shape.colors, factorX, factorY, out.width, out.height,
                static_cast<unsigned long long>(Fnv1a(out.pixels)), waysAgree ? "" : " (the ways of summing differ)");
    return waysAgree;
}

}  // namespace

int main() {
    const Picture shapes[] = {
        {3, 3, 8, false, 256},     {101, 101, 8, false, 256}, {1, 7, 4, false, 16},     {9, 5, 4, false, 16},
        {17, 13, 4, true, 16},     {640, 480, 8, false, 256}, {333, 257, 8, true, 200}, {255, 129, 4, false, 11},
        {1024, 768, 8, false, 256}, {1920, 1080, 4, false, 16},
    };
    const float factors[][2] = {
        {0.5f, 0.5f},   {0.75f, 0.75f}, {0.33f, 0.33f},         {0.79777777f, 0.79777777f}, {1.0f, 0.6f},
        {0.1f, 0.9f},   {0.999f, 0.7f}, {0.61803399f, 0.41421f}, {1.7f, 2.5f},               {0.04f, 0.03f},
    };
    uint32_t seed = 1;
    bool agree = true;
    for (const Picture& shape : shapes) {
        for (const auto& factor : factors) agree = Print(shape, seed++, factor[0], factor[1]) && agree;
    }
    return agree ? 0 : 1;
}
