// The offline layer's pixels against the system's loader: each run-length
// encoded file is loaded with LoadImageA as the menu loads a picture it
// resamples, and the section's rows must be the ones the checker decodes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "render/bitmap_decoding.h"
#include "support/fixture_bytes.h"
#include "support/temp_folder.h"

namespace {

constexpr UINT kLoadFromFileAsDibSection = LR_LOADFROMFILE | LR_COLOR | LR_CREATEDIBSECTION;

// The rows of the DIB section the loader makes of the file; empty when it
// loads none.
std::vector<uint8_t> LoadedRows(const std::string& path) {
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                     kLoadFromFileAsDibSection));
    if (bitmap == nullptr) return {};
    DIBSECTION section = {};
    std::vector<uint8_t> rows;
    if (GetObjectA(bitmap, sizeof section, &section) == sizeof section && section.dsBm.bmBits != nullptr) {
        const auto* bits = static_cast<const uint8_t*>(section.dsBm.bmBits);
        rows.assign(bits, bits + static_cast<size_t>(section.dsBm.bmWidthBytes) * section.dsBm.bmHeight);
    }
    DeleteObject(bitmap);
    return rows;
}

// Every escape at both depths, and streams the loader does not take. Wine's
// loader leaves out the pixels of the row in which a stream breaks off
// without an escape; those streams are left to the native tests.
TEST(RunLengthLoader, TheSectionHoldsTheRowsTheCheckerDecodes) {
    const struct {
        const char* name;
        int32_t width;
        int32_t height;
        int bitsPerPixel;
        uint32_t compression;
        std::string stream;
    } cases[] = {
        {"encoded runs, a line end, the end", 4, 2, 8, 1, std::string("\x03\x05\x01\x06\x00\x00\x02\x07\x00\x01", 10)},
        {"absolute run of an odd count, padded", 4, 1, 8, 1, std::string("\x00\x03\x0A\x0B\x0C\x00\x01\x09\x00\x01", 10)},
        {"a delta", 4, 3, 8, 1, std::string("\x01\x05\x00\x02\x02\x01\x01\x06\x00\x00\x01\x07\x00\x01", 14)},
        {"a delta past the width", 4, 2, 8, 1, std::string("\x00\x02\x09\x00\x01\x05\x00\x00\x01\x06\x00\x01", 12)},
        {"an early end", 4, 2, 8, 1, std::string("\x02\x05\x00\x01\x02\x06", 6)},
        {"runs past the width", 3, 2, 8, 1, std::string("\x05\x07\x00\x00\x00\x04\x01\x02\x03\x04\x00\x01", 12)},
        {"a line end past the last row", 4, 1, 8, 1, std::string("\x01\x05\x00\x00\x03\x06", 6)},
        {"an encoded run of an odd count", 5, 1, 4, 2, std::string("\x05\x12\x00\x01", 4)},
        {"an encoded run from an odd pixel", 4, 1, 4, 2, std::string("\x01\x30\x03\x45\x00\x01", 6)},
        {"absolute run of 5, padded", 6, 1, 4, 2, std::string("\x00\x05\x12\x34\x50\x00\x01\x60\x00\x01", 10)},
        {"absolute run from an odd pixel", 4, 1, 4, 2, std::string("\x01\x70\x00\x03\x12\x30\x00\x01", 8)},
        {"4-bit runs past the width", 3, 2, 4, 2, std::string("\x07\x89\x00\x00\x00\x04\x12\x34\x00\x01", 10)},
        {"RLE8 in a 4-bit header", 4, 1, 4, 1, std::string("\x04\x05\x00\x01", 4)},
        {"RLE4 in an 8-bit header", 4, 1, 8, 2, std::string("\x04\x12\x00\x01", 4)},
    };
    const TempFolder folder;
    std::vector<fixture::PaletteEntry> palette;
    for (uint8_t k = 0; k < 16; ++k) palette.push_back({static_cast<uint8_t>(k * 16), k, 0});
    for (const auto& c : cases) {
        const std::string file =
            fixture::RunLengthBitmap(c.width, c.height, c.bitsPerPixel, c.compression, palette, c.stream);
        DecodedBitmap decoded;
        ASSERT_TRUE(DecodeBitmapFile(std::vector<uint8_t>(file.begin(), file.end()), &decoded))
            << c.name;
        EXPECT_EQ(LoadedRows(folder.Write("picture.bmp", file)), decoded.rows) << c.name;
    }
}

}  // namespace
