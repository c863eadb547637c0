// The pixels the checker and the menu take in place of the system's loader:
// runs of RLE8 and RLE4 decoded as the loader decodes them, and which files
// it decodes at all; and the checker's RLE8 encoding, which decodes back to
// the rows it was given.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "check/rle8_encoding.h"
#include "render/bitmap_decoding.h"
#include "support/fixture_bytes.h"

namespace {


struct RunCase {
    const char* name;
    int32_t bitsPerPixel;
    int32_t width;
    int32_t height;
    std::vector<uint8_t> stream;
    std::vector<uint8_t> rows;  // bottom row first, each padded to 4 bytes
};

void ExpectDecoded(const RunCase& c) {
    const uint32_t rowBytes = (static_cast<uint32_t>(c.bitsPerPixel * c.width) + 31) / 32 * 4;
    std::vector<uint8_t> rows(rowBytes * static_cast<uint32_t>(c.height), 0);
    DecodeRunLength(c.stream.data(), c.stream.size(), c.bitsPerPixel, c.width, c.height, rowBytes, rows.data());
    EXPECT_EQ(rows, c.rows) << c.name;
}

TEST(RunLengthDecoding, DecodesEveryEscapeAtBothDepths) {
    const RunCase cases[] = {
        {"encoded runs, a line end, the end", 8, 4, 2, {3, 5, 1, 6, 0, 0, 2, 7, 0, 1}, {5, 5, 5, 6, 7, 7, 0, 0}},
        {"absolute run of an odd count, padded", 8, 4, 1, {0, 3, 10, 11, 12, 0, 1, 9, 0, 1}, {10, 11, 12, 9}},
        {"absolute run of an even count", 8, 4, 1, {0, 4, 1, 2, 3, 4, 0, 1}, {1, 2, 3, 4}},
        {"a delta skips pixels and rows, left 0", 8, 4, 3, {1, 5, 0, 2, 2, 1, 1, 6, 0, 0, 1, 7, 0, 1},
         {5, 0, 0, 0, 0, 0, 0, 6, 7, 0, 0, 0}},
        {"a delta past the width", 8, 4, 2, {0, 2, 9, 0, 1, 5, 0, 0, 1, 6, 0, 1}, {0, 0, 0, 0, 6, 0, 0, 0}},
        {"an early end leaves the rest 0", 8, 4, 2, {2, 5, 0, 1, 2, 6}, {5, 5, 0, 0, 0, 0, 0, 0}},
        {"runs past the width are cut, not carried on", 8, 3, 2, {5, 7, 0, 0, 0, 4, 1, 2, 3, 4, 0, 1},
         {7, 7, 7, 0, 1, 2, 3, 0}},
        {"an encoded run alternates halves, odd count", 4, 5, 1, {5, 0x12, 0, 1}, {0x12, 0x12, 0x10, 0}},
        {"an encoded run from an odd pixel", 4, 4, 1, {1, 0x30, 3, 0x45, 0, 1}, {0x34, 0x54, 0, 0}},
        {"absolute run of 3: two bytes, no padding", 4, 4, 1, {0, 3, 0xAB, 0xC0, 1, 0xF0, 0, 1}, {0xAB, 0xCF, 0, 0}},
        {"absolute run of 5: three bytes, padded", 4, 6, 1, {0, 5, 0x12, 0x34, 0x50, 0, 1, 0x60, 0, 1},
         {0x12, 0x34, 0x56, 0}},
        {"absolute run from an odd pixel", 4, 4, 1, {1, 0x70, 0, 3, 0x12, 0x30, 0, 1}, {0x71, 0x23, 0, 0}},
        {"4-bit runs past the width", 4, 3, 2, {7, 0x89, 0, 0, 0, 4, 0x12, 0x34, 0, 1},
         {0x89, 0x80, 0, 0, 0x12, 0x30, 0, 0}},
    };
    for (const RunCase& c : cases) ExpectDecoded(c);
}

TEST(RunLengthDecoding, AStreamThatBreaksOffKeepsWhatItDecoded) {
    const RunCase cases[] = {
        {"no end mark", 8, 4, 1, {2, 5}, {5, 5, 0, 0}},
        {"an odd byte at the end", 8, 4, 1, {1, 5, 3}, {5, 0, 0, 0}},
        {"an absolute run a byte longer than the stream", 8, 4, 1, {1, 5, 0, 4, 1, 2, 3}, {5, 0, 0, 0}},
        {"an absolute run whose padding is past the end", 8, 4, 1, {0, 3, 1, 2, 3}, {1, 2, 3, 0}},
        {"a delta without its offsets", 8, 4, 1, {1, 5, 0, 2, 1}, {5, 0, 0, 0}},
        {"a line end past the last row", 8, 4, 1, {1, 5, 0, 0, 3, 6}, {5, 0, 0, 0}},
        {"a delta past the last row", 8, 4, 2, {1, 5, 0, 2, 0, 2, 1, 6}, {5, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const RunCase& c : cases) ExpectDecoded(c);
}

// A run-length encoded file of 2 x 2 pixels, colour 1 red: the bottom row
// 1 1 and the top row 1 0, as RLE8 or RLE4, in a header of the given depth.
std::string RunLengthFile(uint32_t compression, int bitsPerPixel, int32_t height = 2) {
    const std::string stream = compression == 1 ? std::string("\x02\x01\x00\x00\x01\x01\x00\x01", 8)
                                                : std::string("\x02\x11\x00\x00\x01\x10\x00\x01", 8);
    return fixture::RunLengthBitmap(2, height, bitsPerPixel, compression, {{0, 0, 0}, {255, 0, 0}}, stream);
}

TEST(BitmapFileDecoding, TheLoaderDecodesAStreamOfItsOwnDepthBottomUpWithAnImageSize) {
    std::string noImageSize = RunLengthFile(1, 8);
    noImageSize.replace(34, 4, 4, '\0');
    const struct {
        const char* name;
        std::string file;
        std::vector<uint8_t> rows;
    } cases[] = {
        {"RLE8", RunLengthFile(1, 8), {1, 1, 0, 0, 1, 0, 0, 0}},
        {"RLE4", RunLengthFile(2, 4), {0x11, 0, 0, 0, 0x10, 0, 0, 0}},
        {"RLE8 in a 4-bit header", RunLengthFile(1, 4), std::vector<uint8_t>(8, 0)},
        {"RLE4 in an 8-bit header", RunLengthFile(2, 8), std::vector<uint8_t>(8, 0)},
        {"top-down RLE8", RunLengthFile(1, 8, -2), std::vector<uint8_t>(8, 0)},
        {"RLE8 without an image size", noImageSize, std::vector<uint8_t>(8, 0)},
    };
    for (const auto& c : cases) {
        DecodedBitmap decoded;
        ASSERT_TRUE(DecodeBitmapFile(std::vector<uint8_t>(c.file.begin(), c.file.end()), &decoded)) << c.name;
        EXPECT_EQ(decoded.rows, c.rows) << c.name;
        ASSERT_EQ(decoded.colorTable.size(), 256u * 4) << c.name;
        EXPECT_EQ(decoded.colorTable[4 + 2], 255) << c.name << ": colour 1 is red";
    }
}

// Rows of `width` indices, `rowBytes` apart (their padding zero), from a
// function of the pixel.
struct EncodingCase {
    const char* name;
    int32_t width;
    int32_t height;
    uint8_t (*index)(int32_t x, int32_t y);
};

TEST(RunLengthEncoding, DecodesBackToTheRowsAsTheLoaderDecodes) {
    const EncodingCase cases[] = {
        {"one index", 9, 3, [](int32_t, int32_t) -> uint8_t { return 7; }},
        {"no index repeats, odd width", 7, 2, [](int32_t x, int32_t y) { return static_cast<uint8_t>(x + 10 * y); }},
        {"runs longer than 255", 600, 2, [](int32_t x, int32_t) { return static_cast<uint8_t>(x < 520 ? 1 : 2); }},
        {"varying indices longer than 255", 700, 1, [](int32_t x, int32_t) { return static_cast<uint8_t>(x * 7); }},
        {"pairs", 10, 2, [](int32_t x, int32_t) { return static_cast<uint8_t>(x / 2); }},
        {"runs among varying indices", 13, 2,
         [](int32_t x, int32_t y) { return static_cast<uint8_t>(x >= 4 && x < 8 ? 0 : x + y); }},
        {"one pixel a row", 1, 4, [](int32_t, int32_t y) { return static_cast<uint8_t>(y); }},
        {"two different pixels", 2, 1, [](int32_t x, int32_t) { return static_cast<uint8_t>(x + 3); }},
    };
    for (const EncodingCase& c : cases) {
        const uint32_t rowBytes = (static_cast<uint32_t>(c.width) + 3) / 4 * 4;
        std::vector<uint8_t> rows(rowBytes * static_cast<uint32_t>(c.height), 0);
        for (int32_t y = 0; y < c.height; ++y) {
            for (int32_t x = 0; x < c.width; ++x) rows[y * rowBytes + x] = c.index(x, y);
        }
        const std::vector<uint8_t> stream = EncodeRle8(rows.data(), rowBytes, c.width, c.height);
        std::vector<uint8_t> decoded(rows.size(), 0);
        DecodeRunLength(stream.data(), stream.size(), 8, c.width, c.height, rowBytes, decoded.data());
        EXPECT_EQ(decoded, rows) << c.name;
        EXPECT_EQ(std::vector<uint8_t>(stream.end() - 2, stream.end()), (std::vector<uint8_t>{0, 1})) << c.name;
    }
}

TEST(RunLengthEncoding, TakesARunFromThreeIndicesAndAnAbsoluteRunWhereItIsNoLonger) {
    const struct {
        const char* name;
        std::vector<uint8_t> row;
        std::vector<uint8_t> stream;
    } cases[] = {
        {"a run", {4, 4, 4, 4}, {4, 4, 0, 1}},
        {"an absolute run, padded", {1, 2, 3}, {0, 3, 1, 2, 3, 0, 0, 1}},
        {"a pair and a single: encoded runs", {5, 5, 6}, {2, 5, 1, 6, 0, 1}},
        {"varying, then a run of three", {1, 2, 3, 4, 9, 9, 9}, {0, 4, 1, 2, 3, 4, 3, 9, 0, 1}},
        {"a pair inside varying indices", {1, 2, 2, 3}, {0, 4, 1, 2, 2, 3, 0, 1}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeRle8(c.row.data(), static_cast<uint32_t>(c.row.size()), static_cast<int32_t>(c.row.size()), 1),
                  c.stream)
            << c.name;
    }
    // Rows apart: a line end between them, none after the last.
    const std::vector<uint8_t> two{8, 8, 8, 0, 9, 9, 9, 0};
    EXPECT_EQ(EncodeRle8(two.data(), 4, 3, 2), (std::vector<uint8_t>{3, 8, 0, 0, 3, 9, 0, 1}));
}

}  // namespace
