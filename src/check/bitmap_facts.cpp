#include "check/bitmap_facts.h"

#include <fstream>
#include <system_error>

#include "platform/little_endian.h"
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

    const uint8_t* info = head + 14;
    const uint32_t headerSize = got >= 18 ? ReadLittle32(info) : 0;
    const bool core = headerSize == 12;  // the oldest header: 16-bit sizes
    if (head[0] != 'B' || head[1] != 'M' || !IsKnownBitmapHeaderSize(headerSize) || got < 14 + (core ? 12u : 40u) ||
        size < 14 + uint64_t{headerSize}) {
        return facts;
    }
    facts.loadsAsIs = true;
    if (core) {
        facts.width = static_cast<int32_t>(ReadLittle16(info + 4));
        facts.height = static_cast<int32_t>(ReadLittle16(info + 6));
        facts.bitsPerPixel = static_cast<int32_t>(ReadLittle16(info + 10));
    } else {
        facts.width = static_cast<int32_t>(ReadLittle32(info + 4));
        const int32_t height = static_cast<int32_t>(ReadLittle32(info + 8));
        facts.height = height < 0 ? -height : height;
        facts.bitsPerPixel = static_cast<int32_t>(ReadLittle16(info + 14));
    }
    // The same test the menu makes before it resamples a picture.
    facts.readable = IsWholeBitmap(head, got, size);
    return facts;
}
