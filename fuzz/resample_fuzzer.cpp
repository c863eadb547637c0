// The resampler on pictures of any small size, depth, orientation, colour
// table length, pixels and factors. Rows and colour table sit in buffers of
// exactly the size a picture of that shape has, so that AddressSanitizer
// sees any read outside them; the destination is exactly as large as stated.
// A whole-table bottom-up picture must also match the algorithm worked out
// pixel by pixel, and every way of summing must give the same pixels.
//
// Input: depth, flags, width, height, colour count (2 bytes), the two
// factors (4 bytes each, as floats), a destination size for the explicit
// call (2 bytes), then colour table and pixel bytes.
#include <cstring>
#include <vector>

#include "fuzz_check.h"
#include "render/resample.h"
#include "support/literal_resample.h"

namespace {

// Bounds that keep one input within milliseconds.
constexpr int32_t kMaxSide = 96;
constexpr double kMaxDestinationPixels = 1 << 15;

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data(data), size(size) {}
    uint8_t Byte() { return position < size ? data[position++] : 0; }
    uint32_t Word() {
        uint32_t value = 0;
        for (int k = 0; k < 4; ++k) value |= static_cast<uint32_t>(Byte()) << (8 * k);
        return value;
    }
    float Float() {
        const uint32_t bits = Word();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // Fills `out` from what is left, zeros past the end.
    void Fill(std::vector<uint8_t>& out) {
        for (uint8_t& b : out) b = Byte();
    }

private:
    const uint8_t* data;
    size_t size;
    size_t position = 0;
};

void CheckPixels(const std::vector<uint32_t>& pixels) {
    for (uint32_t pixel : pixels) FUZZ_CHECK((pixel >> 24) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in(data, size);
    const uint8_t depthChoice = in.Byte();
    const uint8_t flags = in.Byte();
    const int32_t width = 1 + in.Byte() % kMaxSide;
    const int32_t height = 1 + in.Byte() % kMaxSide;
    const uint32_t colorCount = (in.Byte() | (in.Byte() << 8)) % 300;
    const float factorX = in.Float();
    const float factorY = in.Float();
    const Size explicitSize{in.Byte() % 48, in.Byte() % 48};

    // Mostly 4 or 8 bits; now and then a depth that must be refused.
    const int32_t bits = depthChoice % 8 == 7 ? depthChoice : (depthChoice % 2 == 0 ? 4 : 8);
    const bool resamplable = bits == 4 || bits == 8;

    // Strides of any width and depth: whole 32-bit words that hold the row.
    const int32_t anyWidth = static_cast<int32_t>(in.Word());
    const uint32_t anyStride = SourceStride(anyWidth, bits);
    if (anyStride != 0) {
        FUZZ_CHECK(anyStride % 4 == 0);
        FUZZ_CHECK(uint64_t{anyStride} * 8 >= static_cast<uint64_t>(anyWidth) * static_cast<uint64_t>(bits));
    }

    const uint32_t stride = SourceStride(width, resamplable ? bits : 8);
    std::vector<uint8_t> table(static_cast<size_t>(colorCount) * 4);
    in.Fill(table);
    std::vector<uint8_t> rows(static_cast<size_t>(stride) * static_cast<size_t>(height));
    in.Fill(rows);

    SourcePicture source{};
    source.width = width;
    source.height = height;
    source.bitsPerPixel = bits;
    source.rows = rows.data();
    source.topDown = (flags & 1) != 0;
    source.colorTable = colorCount != 0 ? table.data() : nullptr;
    source.colorCount = colorCount;

    Size stated{};
    const bool sized = ResampledSize(width, height, factorX, factorY, &stated);
    if (sized) {
        FUZZ_CHECK(stated.width >= 1 && stated.height >= 1);
        FUZZ_CHECK(stated.width == static_cast<int32_t>(static_cast<double>(width) * factorX));
        FUZZ_CHECK(stated.height == static_cast<int32_t>(static_cast<double>(height) * factorY));
    }

    if (sized && static_cast<double>(stated.width) * stated.height <= kMaxDestinationPixels) {
        const ResampledPicture picture = ResampleAreaAverage(source, factorX, factorY);
        if (resamplable) {
            FUZZ_CHECK(picture.width == stated.width && picture.height == stated.height);
            FUZZ_CHECK(picture.pixels.size() == static_cast<size_t>(stated.width) * stated.height);
            CheckPixels(picture.pixels);
            if (!source.topDown && colorCount >= (1u << bits)) {
                FUZZ_CHECK(picture.pixels == literal::Resample(source, factorX, factorY).pixels);
            }
            // Every way of summing gives the same pixels.
            for (ResampleInstructions way : AvailableResampleInstructions()) {
                std::vector<uint32_t> pixels(picture.pixels.size());
                FUZZ_CHECK(ResampleAreaAverageInto(source, factorX, factorY, stated, pixels.data(), way));
                FUZZ_CHECK(pixels == picture.pixels);
            }
        } else {
            FUZZ_CHECK(picture.width == 0 && picture.height == 0 && picture.pixels.empty());
        }
    }

    // Any destination size with any factors: reads stay in the source, writes
    // in the destination.
    if (explicitSize.width > 0 && explicitSize.height > 0) {
        std::vector<uint32_t> destination(static_cast<size_t>(explicitSize.width) * explicitSize.height, 0xFFFFFFFFu);
        const bool done = ResampleAreaAverageInto(source, factorX, factorY, explicitSize, destination.data());
        if (done) {
            FUZZ_CHECK(resamplable);
            CheckPixels(destination);
        } else {
            for (uint32_t pixel : destination) FUZZ_CHECK(pixel == 0xFFFFFFFFu);
        }
    }
    return 0;
}
