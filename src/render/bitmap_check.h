#pragma once
// A cheap test of a Windows bitmap file before its pixels are taken: some
// loaders crash on a file whose pixel rows are cut short, and the menu reads
// the rows of a picture it resamples from the file's bytes itself.

#include <cstdint>

// The bytes needed to judge a file: the file header and the largest part of
// an info header that is read.
constexpr uint32_t kBitmapHeadBytes = 14 + 40;

// What a bitmap file's headers say, as the loader reads them.
struct BitmapLayout {
    uint32_t headerSize;
    bool core;  // the oldest header: 16-bit sizes, 3-byte colours, no compression
    int64_t width;
    int64_t height;  // negative for top-down rows
    uint32_t bits;
    uint32_t compression;
    uint32_t imageSize;  // bytes of compressed rows
    uint32_t colorsUsed;
    uint32_t pixelOffset;
    uint64_t tableEnd;    // the end of the headers, the masks and the colour table
    uint64_t rowsOffset;  // where the loader finds the rows, from the file's start
};

// The headers in the first `length` bytes of a file; false when they are
// not a bitmap file's ("BM", a known info-header size, all of it there).
bool ReadBitmapLayout(const uint8_t* head, uint32_t length, BitmapLayout* layout);

// The sizes of the info headers that bitmap files carry: 12 for the oldest,
// 40 and the later ones that extend it.
bool IsKnownBitmapHeaderSize(uint32_t size);

// Judges the first `length` bytes of a file of `fileSize` bytes as the
// system's loader reads the file: the "BM" signature, a known info-header
// size, the headers and the colour table inside the file with at least one
// byte after them, the pixel rows where the loader finds them and, for
// uncompressed pictures, every row that the header announces; compressed
// rows as far as the header's image size.
bool IsWholeBitmap(const uint8_t* head, uint32_t length, uint64_t fileSize);

// Where the loader finds the pixel rows, counted from the file's start; 0
// when the head is not a bitmap file's.
uint64_t PixelRowsOffset(const uint8_t* head, uint32_t length);
