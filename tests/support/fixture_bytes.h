#pragma once
// The bytes of the files that tests lay out: install.ini texts and bitmap
// files, built in code so every byte a test depends on is visible in it.

#include <cstdint>
#include <string>
#include <vector>

namespace fixture {

// UTF-16 little endian, with the byte-order mark FF FE unless told otherwise.
inline std::string Utf16Le(const std::u16string& text, bool withMark = true) {
    std::string bytes = withMark ? std::string("\xFF\xFE", 2) : std::string();
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

struct PaletteEntry {
    uint8_t red, green, blue;
};

// A bottom-up, uncompressed palettised bitmap file of 4 or 8 bits per pixel.
// `indices` holds width * height colour indices in storage order (bottom row first).
inline std::string PaletteBitmap(int32_t width, int32_t height, int bitsPerPixel,
                                 const std::vector<PaletteEntry>& palette, const std::vector<uint8_t>& indices) {
    const uint32_t stride = ((static_cast<uint32_t>(bitsPerPixel) * width + 31) / 32) * 4;
    const uint32_t tableBytes = static_cast<uint32_t>(palette.size()) * 4;
    const uint32_t pixelOffset = 14 + 40 + tableBytes;
    const uint32_t fileSize = pixelOffset + stride * static_cast<uint32_t>(height);

    std::string bytes;
    auto put16 = [&](uint32_t v) {
        bytes.push_back(static_cast<char>(v & 0xFF));
        bytes.push_back(static_cast<char>((v >> 8) & 0xFF));
    };
    auto put32 = [&](uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    bytes += "BM";
    put32(fileSize);
    put32(0);
    put32(pixelOffset);
    put32(40);
    put32(static_cast<uint32_t>(width));
    put32(static_cast<uint32_t>(height));
    put16(1);
    put16(static_cast<uint32_t>(bitsPerPixel));
    put32(0);  // BI_RGB
    put32(stride * static_cast<uint32_t>(height));
    put32(2835);
    put32(2835);
    put32(static_cast<uint32_t>(palette.size()));
    put32(0);
    for (const PaletteEntry& entry : palette) {
        bytes.push_back(static_cast<char>(entry.blue));
        bytes.push_back(static_cast<char>(entry.green));
        bytes.push_back(static_cast<char>(entry.red));
        bytes.push_back(0);
    }
    for (int32_t row = 0; row < height; ++row) {
        std::string line(stride, '\0');
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t index = indices[static_cast<size_t>(row) * width + x];
            if (bitsPerPixel == 8) {
                line[x] = static_cast<char>(index);
            } else {
                line[x / 2] = static_cast<char>(line[x / 2] | ((x % 2 == 0) ? (index << 4) : (index & 0x0F)));
            }
        }
        bytes += line;
    }
    return bytes;
}

// A picture of one colour.
inline std::string PlainBitmap(int32_t width, int32_t height, PaletteEntry color) {
    return PaletteBitmap(width, height, 8, {color}, std::vector<uint8_t>(static_cast<size_t>(width) * height, 0));
}

// A run-length encoded bitmap file: `stream` right after the colour table,
// the header giving the compression (1: RLE8, 2: RLE4), the depth and the
// stream's length as the image size; a negative height stores rows top-down.
inline std::string RunLengthBitmap(int32_t width, int32_t height, int bitsPerPixel, uint32_t compression,
                                   const std::vector<PaletteEntry>& palette, const std::string& stream) {
    std::string bytes = PaletteBitmap(1, 1, 8, palette, {0});
    bytes.resize(14 + 40 + palette.size() * 4);
    bytes += stream;
    const auto put32 = [&](size_t at, uint32_t value) {
        for (int k = 0; k < 4; ++k) bytes[at + k] = static_cast<char>((value >> (8 * k)) & 0xFF);
    };
    put32(2, static_cast<uint32_t>(bytes.size()));
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    bytes[28] = static_cast<char>(bitsPerPixel);
    put32(30, compression);
    put32(34, static_cast<uint32_t>(stream.size()));
    return bytes;
}

// A bottom-up, uncompressed 24-bit bitmap file of one colour.
inline std::string TrueColorBitmap(int32_t width, int32_t height, PaletteEntry color) {
    const uint32_t stride = ((24u * width + 31) / 32) * 4;
    std::string bytes = PaletteBitmap(width, height, 8, {}, std::vector<uint8_t>(static_cast<size_t>(width) * height, 0));
    bytes.resize(14 + 40);
    const uint32_t fileSize = 14 + 40 + stride * static_cast<uint32_t>(height);
    for (int k = 0; k < 4; ++k) bytes[2 + k] = static_cast<char>((fileSize >> (8 * k)) & 0xFF);
    bytes[28] = 24;  // bits per pixel
    bytes[34] = bytes[35] = bytes[36] = bytes[37] = 0;  // image size: 0 is allowed uncompressed
    for (int32_t row = 0; row < height; ++row) {
        std::string line(stride, '\0');
        for (int32_t x = 0; x < width; ++x) {
            line[3 * x] = static_cast<char>(color.blue);
            line[3 * x + 1] = static_cast<char>(color.green);
            line[3 * x + 2] = static_cast<char>(color.red);
        }
        bytes += line;
    }
    return bytes;
}

}  // namespace fixture
