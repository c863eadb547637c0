// The bitmap file check on any bytes. Whenever it passes an uncompressed
// palettised file, the file's own colour table and pixel rows, found where
// the system's loader finds them, are resampled straight out of a buffer of
// exactly the file's size: a row the check let through that lies outside the
// file is a read AddressSanitizer reports. Every file it passes is also
// decoded as the checker's offline layer decodes it, run-length encoded
// streams included, from and into buffers of exactly their size.
#include <algorithm>
#include <cstring>
#include <vector>

#include "fuzz_check.h"
#include "memory_file.h"
#include "platform/little_endian.h"
#include "platform/offline/bitmap_decoding.h"
#include "render/bitmap_check.h"
#include "render/resample.h"

namespace {

// The pixels of a file the check passed, as a loader would lay them out.
void ResampleFromFile(const std::vector<uint8_t>& file) {
    const uint8_t* info = file.data() + 14;
    const uint32_t headerSize = ReadLittle32(info);
    if (headerSize == 12) return;  // the oldest header has 3-byte colours: nothing to resample directly
    const int32_t width = static_cast<int32_t>(ReadLittle32(info + 4));
    const int32_t height = static_cast<int32_t>(ReadLittle32(info + 8));
    const int32_t bits = static_cast<int32_t>(ReadLittle16(info + 14));
    const uint32_t compression = ReadLittle32(info + 16);
    const uint32_t colorsUsed = ReadLittle32(info + 32);
    if ((bits != 4 && bits != 8) || compression != 0) return;
    const int64_t rows = height < 0 ? -int64_t{height} : height;
    // Keep one input within milliseconds: the destination at most 64 pixels a side.
    if (int64_t{width} * rows > (1 << 22)) return;
    const float factorX = std::min(1.0f, 64.0f / static_cast<float>(width));
    const float factorY = std::min(1.0f, 64.0f / static_cast<float>(rows));

    SourcePicture source{};
    source.width = width;
    source.height = static_cast<int32_t>(rows);
    source.bitsPerPixel = bits;
    const uint32_t head = static_cast<uint32_t>(std::min<size_t>(file.size(), kBitmapHeadBytes));
    source.rows = file.data() + PixelRowsOffset(file.data(), head);
    source.topDown = height < 0;
    source.colorTable = file.data() + 14 + headerSize;
    source.colorCount = colorsUsed != 0 ? std::min<uint32_t>(colorsUsed, 256) : (1u << bits);
    const ResampledPicture picture = ResampleAreaAverage(source, factorX, factorY);
    FUZZ_CHECK(picture.pixels.size() == static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height));
}

void DecodeFromFile(const std::vector<uint8_t>& file) {
    const uint8_t* info = file.data() + 14;
    const bool core = ReadLittle32(info) == 12;
    const int64_t width = core ? int64_t{ReadLittle16(info + 4)} : int64_t{static_cast<int32_t>(ReadLittle32(info + 4))};
    const int64_t height = core ? int64_t{ReadLittle16(info + 6)} : int64_t{static_cast<int32_t>(ReadLittle32(info + 8))};
    // Keep one input within milliseconds and megabytes.
    if (width * (height < 0 ? -height : height) > (1 << 22)) return;
    platform::offline::DecodedBitmap decoded;
    if (!platform::offline::DecodeBitmapFile(file, &decoded)) return;
    FUZZ_CHECK(decoded.rows.size() == size_t{decoded.rowBytes} * static_cast<size_t>(decoded.height));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> file(data, data + size);
    const uint32_t length = static_cast<uint32_t>(std::min<size_t>(size, kBitmapHeadBytes));
    const std::vector<uint8_t> head(data, data + length);
    const bool whole = IsWholeBitmap(head.data(), length, size);

    // The same judgement through the file layer.
    ServeFile("picture.bmp", data, size);
    FUZZ_CHECK(BitmapFileIsWhole("picture.bmp") == whole);

    if (whole) {
        ResampleFromFile(file);
        DecodeFromFile(file);
    }
    return 0;
}
