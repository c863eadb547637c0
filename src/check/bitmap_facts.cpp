#include "check/bitmap_facts.h"

#include <fstream>
#include <system_error>

#include "render/bitmap_check.h"

BitmapFacts ReadBitmapFacts(const std::filesystem::path& file) {
    BitmapFacts facts;
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(file, error);
    if (error) return facts;
    std::ifstream in(file, std::ios::binary);
    uint8_t head[kBitmapHeadBytes] = {};
    in.read(reinterpret_cast<char*>(head), sizeof head);
    const uint32_t got = static_cast<uint32_t>(in.gcount());

    BitmapLayout layout{};
    if (!ReadBitmapLayout(head, got, &layout) || size < 14 + uint64_t{layout.headerSize}) return facts;
    facts.loadsAsIs = true;
    facts.width = static_cast<int32_t>(layout.width);
    facts.height = static_cast<int32_t>(layout.height < 0 ? -layout.height : layout.height);
    facts.bitsPerPixel = static_cast<int32_t>(layout.bits);
    // The same test the menu makes before it resamples a picture.
    facts.readable = IsWholeBitmap(head, got, size);
    return facts;
}
