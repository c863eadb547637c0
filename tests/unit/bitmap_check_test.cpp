#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/bitmap_check.h"
#include "support/fixture_bytes.h"

namespace {

bool IsWhole(const std::string& bytes) {
    return IsWholeBitmap(reinterpret_cast<const uint8_t*>(bytes.data()),
                         static_cast<uint32_t>(std::min<size_t>(bytes.size(), kBitmapHeadBytes)), bytes.size());
}

void Put32(std::string& bytes, size_t offset, uint32_t value) {
    for (int k = 0; k < 4; ++k) bytes[offset + k] = static_cast<char>((value >> (8 * k)) & 0xFF);
}

void Put16(std::string& bytes, size_t offset, uint32_t value) {
    bytes[offset] = static_cast<char>(value & 0xFF);
    bytes[offset + 1] = static_cast<char>((value >> 8) & 0xFF);
}

// Offsets inside a file: the file header, then the info header.
constexpr size_t kPixelOffset = 10;
constexpr size_t kHeaderSize = 14;
constexpr size_t kWidth = 18;
constexpr size_t kHeight = 22;
constexpr size_t kBits = 28;
constexpr size_t kCompression = 30;
constexpr size_t kImageSize = 34;
constexpr size_t kColorsUsed = 46;

std::vector<fixture::PaletteEntry> Gray(int count) {
    std::vector<fixture::PaletteEntry> palette;
    for (int k = 0; k < count; ++k) palette.push_back({uint8_t(k), uint8_t(k), uint8_t(k)});
    return palette;
}

std::string Picture(int32_t width, int32_t height, int bits) {
    std::vector<uint8_t> indices(static_cast<size_t>(width) * height);
    for (size_t k = 0; k < indices.size(); ++k) indices[k] = static_cast<uint8_t>(k % (bits == 8 ? 256 : 16));
    return fixture::PaletteBitmap(width, height, bits, Gray(bits == 8 ? 256 : 16), indices);
}

TEST(BitmapCheck, WholeFilesPassAndEveryShorterCutFails) {
    const struct {
        int32_t width, height;
        int bits;
    } pictures[] = {{7, 5, 4}, {9, 3, 8}, {1, 1, 4}, {64, 2, 8}};
    for (const auto& p : pictures) {
        const std::string whole = Picture(p.width, p.height, p.bits);
        EXPECT_TRUE(IsWhole(whole)) << p.bits << "-bit " << p.width << "x" << p.height;
        // Cut inside the file header, the info header, the colour table and the rows.
        for (size_t length = 0; length < whole.size(); ++length) {
            ASSERT_FALSE(IsWhole(whole.substr(0, length))) << p.bits << "-bit cut at " << length;
        }
    }
}

TEST(BitmapCheck, ATopDownFileNeedsItsRowsToo) {
    std::string bytes = Picture(9, 3, 8);
    Put32(bytes, kHeight, static_cast<uint32_t>(-3));
    EXPECT_TRUE(IsWhole(bytes));
    EXPECT_FALSE(IsWhole(bytes.substr(0, bytes.size() - 1)));
}

TEST(BitmapCheck, HeadersThatAreNotABitmapFail) {
    const std::string whole = Picture(9, 3, 8);
    const struct {
        const char* what;
        size_t offset;
        uint32_t value;
        bool wide;
    } cases[] = {
        {"signature", 0, 'B' | ('A' << 8), false},
        {"unknown header size", kHeaderSize, 64, true},
        {"header size 41", kHeaderSize, 41, true},
        {"pixel offset at the end", kPixelOffset, static_cast<uint32_t>(whole.size()), true},
        {"negative pixel offset", kPixelOffset, static_cast<uint32_t>(-16), true},
        {"width 0", kWidth, 0, true},
        {"negative width", kWidth, static_cast<uint32_t>(-9), true},
        {"height 0", kHeight, 0, true},
        {"100000 x 100000", kWidth, 100000, true},
        {"depth 7", kBits, 7, false},
    };
    for (const auto& c : cases) {
        std::string bytes = whole;
        if (c.wide) {
            Put32(bytes, c.offset, c.value);
        } else {
            Put16(bytes, c.offset, c.value);
        }
        if (std::string(c.what) == "100000 x 100000") Put32(bytes, kHeight, 100000);
        EXPECT_FALSE(IsWhole(bytes)) << c.what;
    }
}

// The loader takes an offset of 0 or 14 (no room for the headers) to mean
// the rows follow the colour table, reads the byte after the table whatever
// the rows, and takes an offset inside the file header as a distance from
// the info header (the 64-bit loader then reads 4 GiB beyond the file).
TEST(BitmapCheck, RowsAreLookedForWhereTheLoaderFindsThem) {
    const std::string whole = Picture(9, 3, 8);  // 36 bytes of rows right after 1078 of headers and table
    const struct {
        const char* what;
        uint32_t offset;
        size_t cut;
        bool whole;
    } cases[] = {
        {"offset 0: the rows follow the table", 0, 0, true},
        {"offset 14: likewise", 14, 0, true},
        {"offset 0, a row cut short", 0, 1, false},
        {"offset 14, a row cut short", 14, 1, false},
        {"offset 1", 1, 0, false},
        {"offset 13", 13, 0, false},
        {"rows in the headers, nothing after the table", 54, 36, false},
    };
    for (const auto& c : cases) {
        std::string bytes = whole;
        Put32(bytes, kPixelOffset, c.offset);
        EXPECT_EQ(IsWhole(bytes.substr(0, bytes.size() - c.cut)), c.whole) << c.what;
    }
}

TEST(BitmapCheck, AbsurdSizesFailWithoutOverflow) {
    const struct {
        uint32_t width, height, bits;
    } cases[] = {{0x7FFFFFFF, 0x7FFFFFFF, 32}, {0x7FFFFFFF, 0x80000000, 32}, {0x40000000, 4, 32}, {100000, 100000, 8}};
    for (const auto& c : cases) {
        std::string bytes = Picture(9, 3, 8);
        Put32(bytes, kWidth, c.width);
        Put32(bytes, kHeight, c.height);
        Put16(bytes, kBits, c.bits);
        Put32(bytes, kColorsUsed, 256);
        EXPECT_FALSE(IsWhole(bytes)) << c.width << " x " << static_cast<int32_t>(c.height);
    }
}

TEST(BitmapCheck, AShortColourTableIsEnoughWhenTheHeaderSaysSo) {
    // Two colours stored for an 8-bit picture, as the header's count of used colours says.
    std::vector<uint8_t> indices(9 * 3, 1);
    const std::string bytes = fixture::PaletteBitmap(9, 3, 8, Gray(2), indices);
    EXPECT_TRUE(IsWhole(bytes));
    std::string claimsAll = bytes;
    Put32(claimsAll, kColorsUsed, 0);  // then all 256 would be needed
    EXPECT_FALSE(IsWhole(claimsAll));
    // Loaders read at most 256 colours, whatever the header claims.
    std::string full = Picture(9, 3, 8);
    Put32(full, kColorsUsed, 1000);
    EXPECT_TRUE(IsWhole(full));
}

TEST(BitmapCheck, RunLengthFilesNeedTheirHeadersTableAndImageSize) {
    // An RLE8 picture of 64 x 64 whose data is one run and the end mark:
    // far fewer bytes than 64 rows of 64.
    std::string bytes = fixture::PaletteBitmap(4, 1, 8, Gray(256), {0, 0, 0, 0});
    bytes.resize(bytes.size() - 4);
    bytes += std::string("\x40\x01\x00\x01", 4);
    Put32(bytes, kWidth, 64);
    Put32(bytes, kHeight, 64);
    Put32(bytes, kCompression, 1);
    EXPECT_TRUE(IsWhole(bytes));

    std::string cutTable = bytes.substr(0, 14 + 40 + 100 * 4);
    EXPECT_FALSE(IsWhole(cutTable)) << "colour table cut";
    std::string offsetOutside = bytes;
    Put32(offsetOutside, kPixelOffset, static_cast<uint32_t>(bytes.size()));
    EXPECT_FALSE(IsWhole(offsetOutside));
    // The loader reads compressed rows as far as the image size says.
    std::string imageBeyond = bytes;
    Put32(imageBeyond, kImageSize, 5);
    EXPECT_FALSE(IsWhole(imageBeyond)) << "image size one byte beyond the file";
}

TEST(BitmapCheck, TheOldCoreHeaderHasThreeByteColoursAndShortSizes) {
    // 2 x 2 pixels, 1 bit per pixel: two 3-byte colours, rows of 4 bytes.
    std::string bytes("BM\0\0\0\0\0\0\0\0\0\0\0\0", 14);
    bytes += std::string("\x0C\0\0\0\x02\0\x02\0\x01\0\x01\0", 12);
    bytes += std::string("\0\0\0\xFF\xFF\xFF", 6);
    Put32(bytes, kPixelOffset, static_cast<uint32_t>(bytes.size()));
    bytes += std::string("\x80\0\0\0\x40\0\0\0", 8);
    Put32(bytes, 2, static_cast<uint32_t>(bytes.size()));
    EXPECT_TRUE(IsWhole(bytes));
    EXPECT_FALSE(IsWhole(bytes.substr(0, bytes.size() - 1)));
}

}  // namespace
