#pragma once
// A cheap test of a Windows bitmap file before it is handed to the system's
// loader: some loaders crash on a file whose pixel rows are cut short.

#include <cstdint>

// The bytes needed to judge a file: the file header and the largest part of
// an info header that is read.
constexpr uint32_t kBitmapHeadBytes = 14 + 40;

// The sizes of the info headers that bitmap files carry: 12 for the oldest,
// 40 and the later ones that extend it.
bool IsKnownBitmapHeaderSize(uint32_t size);

// Judges the first `length` bytes of a file of `fileSize` bytes: the "BM"
// signature, a known info-header size, the pixel offset and the colour table
// inside the file and, for uncompressed pictures, every pixel row that the
// header announces. Compressed pictures are judged by their headers and
// colour table only.
bool IsWholeBitmap(const uint8_t* head, uint32_t length, uint64_t fileSize);

// Reads the file's head through the platform's file layer and judges it;
// false when the file cannot be read.
bool BitmapFileIsWhole(const char* name);
