// The bitmap file check on any bytes. Whenever it passes a palettised file,
// the menu reads it as a picture to shrink, its plain rows straight out of a
// buffer of exactly the file's size, and resamples it: a row the check let
// through that lies outside the file is a read AddressSanitizer reports.
// Every file it passes is also decoded as tessaline-check decodes it,
// run-length encoded streams included, from and into buffers of exactly
// their size.
#include <algorithm>
#include <cstring>
#include <vector>

#include "fuzz_check.h"
#include "render/bitmap_check.h"
#include "render/bitmap_decoding.h"
#include "render/resample.h"

namespace {

// A file the check passed, as the menu reads a picture it shrinks.
void ResampleFromFile(const std::vector<uint8_t>& file) {
    PalettePicture picture;
    if (!picture.Read(file.data(), file.size())) return;
    const SourcePicture& source = picture.Source();
    // The destination at most 64 pixels a side.
    const float factorX = std::min(1.0f, 64.0f / static_cast<float>(source.width));
    const float factorY = std::min(1.0f, 64.0f / static_cast<float>(source.height));
    const ResampledPicture resampled = ResampleAreaAverage(source, factorX, factorY);
    FUZZ_CHECK(resampled.pixels.size() == static_cast<size_t>(resampled.width) * static_cast<size_t>(resampled.height));
}

// Width times rows as the headers of a file the check passed say.
int64_t PixelCount(const std::vector<uint8_t>& file) {
    BitmapLayout layout{};
    ReadBitmapLayout(file.data(), static_cast<uint32_t>(std::min<size_t>(file.size(), kBitmapHeadBytes)), &layout);
    return layout.width * (layout.height < 0 ? -layout.height : layout.height);
}

void DecodeFromFile(const std::vector<uint8_t>& file) {
    DecodedBitmap decoded;
    if (!DecodeBitmapFile(file, &decoded)) return;
    FUZZ_CHECK(decoded.rows.size() == size_t{decoded.rowBytes} * static_cast<size_t>(decoded.height));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> file(data, data + size);
    const uint32_t length = static_cast<uint32_t>(std::min<size_t>(size, kBitmapHeadBytes));
    const std::vector<uint8_t> head(data, data + length);
    // Keep one input within milliseconds and megabytes.
    if (IsWholeBitmap(head.data(), length, size) && PixelCount(file) <= (1 << 22)) {
        ResampleFromFile(file);
        DecodeFromFile(file);
    }
    return 0;
}
