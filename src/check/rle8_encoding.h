#pragma once
// The run-length encoding of 8-bit bitmap rows (RLE8), as a bitmap file
// stores it and the system's loader decodes it: how small a picture could
// be on the disc.

#include <cstdint>
#include <vector>

// The stream of `height` rows of `width` indices, `rowBytes` apart, bottom
// row first: in each row, runs of one index (the count and the index) of 3
// or more, and between them absolute runs of 3 to 255 indices (0, the count,
// the indices, padded to an even length) or, where those are shorter, runs
// of one or two; a line end (0, 0) after each row but the last, and the end
// of the bitmap (0, 1).
std::vector<uint8_t> EncodeRle8(const uint8_t* rows, uint32_t rowBytes, int32_t width, int32_t height);
