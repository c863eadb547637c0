#pragma once
// A cheap test of a Windows bitmap file before its pixels are taken: some
// loaders crash on a file whose pixel rows are cut short, and the menu reads
// the rows of a picture it resamples from the file's bytes itself.

#include <cstdint>

// The bytes needed to judge a file: the file header and the largest part of
// an info header that is read.
constexpr uint32_t kBitmapHeadBytes = 14 + 40;

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
