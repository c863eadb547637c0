#pragma once
// What the system's loader puts into the DIB section it makes of a bitmap
// file: the pixel rows as the file stores them, or decoded from the runs of
// RLE8 and RLE4, and the section's colour table. The menu reads a picture it
// resamples so, from one read of the file, and tessaline-check every picture.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/resample.h"

struct DecodedBitmap {
    int32_t width = 0;
    int32_t height = 0;  // rows, whichever order they are stored in
    int32_t bitsPerPixel = 0;
    bool topDown = false;
    uint32_t rowBytes = 0;
    std::vector<uint8_t> rows;        // height rows of rowBytes, in the file's order
    std::vector<uint8_t> colorTable;  // 256 entries of blue, green, red and 0; for 8 bits per pixel or fewer
};

// False when the bytes are no bitmap file, when its pixels are stored in
// another way (bit fields, JPEG, PNG), and when the rows would not fit in
// memory.
bool DecodeBitmapFile(const std::vector<uint8_t>& file, DecodedBitmap* decoded);

// A whole 16- or 256-colour bitmap file held in memory, as the resampler
// reads it: plain rows where the file stores them, run-length encoded ones
// decoded, and the loader's colour table.
class PalettePicture {
public:
    PalettePicture() = default;
    PalettePicture(const PalettePicture&) = delete;
    PalettePicture& operator=(const PalettePicture&) = delete;

    // False when the file is not whole (IsWholeBitmap), when it holds
    // another depth, and when its decoded rows would not fit in memory.
    [[nodiscard]] bool Read(const uint8_t* file, size_t size);
    // Points into the file's bytes, which must outlive its use.
    const SourcePicture& Source() const { return source; }

private:
    SourcePicture source{};
    std::vector<uint8_t> decodedRows;
    uint8_t colorTable[256 * 4] = {};
};

// Writes the pixels that an RLE8 (8 bits per pixel) or RLE4 (4) stream
// describes into `height` bottom-up rows of `rowBytes`, which are zero
// beforehand; what the stream skips stays zero.
void DecodeRunLength(const uint8_t* stream, size_t length, int32_t bitsPerPixel, int32_t width, int32_t height,
                     uint32_t rowBytes, uint8_t* rows);
