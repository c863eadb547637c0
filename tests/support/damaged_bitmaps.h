#pragma once
// Damaged bitmap files for the test of the whole-file check against the
// system's loader: whole files of every header kind, depth and compression,
// each header field set to values that decide where rows start and how long
// they are (zero, the edges of each width, the file's own sizes), cuts at
// every length that matters, files ending on a page boundary, and damage in
// seeded random combinations, so that every run makes the same files.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace damaged_bitmaps {

constexpr uint32_t kPage = 4096;

inline void Put(std::string& bytes, uint32_t offset, uint32_t size, uint32_t value) {
    for (uint32_t k = 0; k < size; ++k) bytes[offset + k] = static_cast<char>((value >> (8 * k)) & 0xFF);
}

inline uint32_t Get(const std::string& bytes, uint32_t offset, uint32_t size) {
    uint32_t value = 0;
    for (uint32_t k = 0; k < size; ++k) value |= uint32_t{static_cast<uint8_t>(bytes[offset + k])} << (8 * k);
    return value;
}

inline std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

struct Field {
    const char* name;
    uint32_t offset;
    uint32_t size;
};

inline const std::vector<Field> kFileFields = {
    {"bfType", 0, 2}, {"bfSize", 2, 4}, {"bfReserved1", 6, 2}, {"bfReserved2", 8, 2}, {"bfOffBits", 10, 4}};
inline const std::vector<Field> kCoreFields = {
    {"bcSize", 14, 4}, {"bcWidth", 18, 2}, {"bcHeight", 20, 2}, {"bcPlanes", 22, 2}, {"bcBitCount", 24, 2}};
inline const std::vector<Field> kInfoFields = {
    {"biSize", 14, 4},          {"biWidth", 18, 4},       {"biHeight", 22, 4},      {"biPlanes", 26, 2},
    {"biBitCount", 28, 2},      {"biCompression", 30, 4}, {"biSizeImage", 34, 4},   {"biXPelsPerMeter", 38, 4},
    {"biYPelsPerMeter", 42, 4}, {"biClrUsed", 46, 4},     {"biClrImportant", 50, 4}};
inline const std::vector<Field> kMaskFields = {{"red mask", 54, 4}, {"green mask", 58, 4}, {"blue mask", 62, 4}};
inline const std::vector<Field> kV5Fields = {{"alpha mask", 66, 4},
                                             {"bV5CSType", 70, 4},
                                             {"bV5Intent", 122, 4},
                                             {"bV5ProfileData", 126, 4},
                                             {"bV5ProfileSize", 130, 4}};

// A whole file to damage, with the fields it has and where its parts lie.
struct Base {
    std::string name;
    std::string bytes;
    std::vector<Field> fields;
    uint32_t tableEnd;  // where the colour table (and the masks) end
    uint32_t stride;    // of an uncompressed row; 0 for compressed rows
};

// A file with a header of `headerSize` bytes (12: the oldest one, 3-byte
// colours), `colors` colour-table entries (stored in biClrUsed when not the
// depth's full count), bit-field masks where the compression asks for them,
// and the pixel bytes as given.
inline Base MakeBase(const std::string& name, uint32_t headerSize, int32_t width, int32_t height, uint32_t bits,
                     uint32_t compression, uint32_t colors, const std::string& pixels, uint32_t stride) {
    const bool core = headerSize == 12;
    const uint32_t masks = headerSize == 40 && compression == 3 ? 12 : 0;
    const uint32_t tableEnd = 14 + headerSize + masks + colors * (core ? 3 : 4);
    std::string bytes(tableEnd, '\0');
    Put(bytes, 0, 2, 0x4D42);
    Put(bytes, 2, 4, tableEnd + static_cast<uint32_t>(pixels.size()));
    Put(bytes, 10, 4, tableEnd);
    Put(bytes, 14, 4, headerSize);
    std::vector<Field> fields = kFileFields;
    if (core) {
        Put(bytes, 18, 2, static_cast<uint32_t>(width));
        Put(bytes, 20, 2, static_cast<uint32_t>(height));
        Put(bytes, 22, 2, 1);
        Put(bytes, 24, 2, bits);
        fields.insert(fields.end(), kCoreFields.begin(), kCoreFields.end());
    } else {
        Put(bytes, 18, 4, static_cast<uint32_t>(width));
        Put(bytes, 22, 4, static_cast<uint32_t>(height));
        Put(bytes, 26, 2, 1);
        Put(bytes, 28, 2, bits);
        Put(bytes, 30, 4, compression);
        Put(bytes, 34, 4, static_cast<uint32_t>(pixels.size()));
        Put(bytes, 38, 4, 2835);
        Put(bytes, 42, 4, 2835);
        Put(bytes, 46, 4, bits <= 8 && colors == (1u << bits) ? 0 : colors);
        fields.insert(fields.end(), kInfoFields.begin(), kInfoFields.end());
        if (compression == 3 || headerSize > 40) {
            const uint32_t red = bits == 16 ? 0xF800 : 0xFF0000;
            const uint32_t green = bits == 16 ? 0x07E0 : 0x00FF00;
            const uint32_t blue = bits == 16 ? 0x001F : 0x0000FF;
            Put(bytes, 54, 4, red);
            Put(bytes, 58, 4, green);
            Put(bytes, 62, 4, blue);
            fields.insert(fields.end(), kMaskFields.begin(), kMaskFields.end());
        }
        if (headerSize == 124) fields.insert(fields.end(), kV5Fields.begin(), kV5Fields.end());
    }
    for (uint32_t k = 0; k < colors; ++k) {
        const uint32_t at = 14 + headerSize + masks + k * (core ? 3 : 4);
        Put(bytes, at, 3, k * 0x010101u);
    }
    return Base{name, bytes + pixels, fields, tableEnd, stride};
}

inline uint32_t StrideOf(int32_t width, uint32_t bits) {
    return (bits * static_cast<uint32_t>(width) + 31) / 32 * 4;
}

inline std::string Rows(int32_t width, int32_t height, uint32_t bits) {
    const uint32_t rows = static_cast<uint32_t>(height < 0 ? -height : height);
    std::string bytes(StrideOf(width, bits) * rows, '\0');
    for (size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<char>(k * 7 % 251);
    return bytes;
}

// Run-length encoded rows: runs of at most 254 pixels of one colour (two
// alternating colours at 4 bits), each row ended, the picture ended.
inline std::string RunLengthRows(int32_t width, int32_t height, uint32_t bits) {
    std::string rows;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t left = width; left > 0; left -= 254) {
            const int32_t run = std::min(left, 254);
            rows += {static_cast<char>(run), static_cast<char>(bits == 8 ? y % 200 : 0x1E)};
        }
        rows += {0, 0};
    }
    return rows + std::string{0, 1};
}

inline std::vector<Base> Bases() {
    return {
        MakeBase("8-bit 67x50", 40, 67, 50, 8, 0, 256, Rows(67, 50, 8), StrideOf(67, 8)),
        MakeBase("8-bit 101x80", 40, 101, 80, 8, 0, 256, Rows(101, 80, 8), StrideOf(101, 8)),
        MakeBase("8-bit 64x64 top-down", 40, 64, -64, 8, 0, 256, Rows(64, -64, 8), StrideOf(64, 8)),
        MakeBase("8-bit 64x80, 20 colours", 40, 64, 80, 8, 0, 20, Rows(64, 80, 8), StrideOf(64, 8)),
        MakeBase("4-bit 33x120", 40, 33, 120, 4, 0, 16, Rows(33, 120, 4), StrideOf(33, 4)),
        MakeBase("4-bit 150x100", 40, 150, 100, 4, 0, 16, Rows(150, 100, 4), StrideOf(150, 4)),
        MakeBase("1-bit 100x100", 40, 100, 100, 1, 0, 2, Rows(100, 100, 1), StrideOf(100, 1)),
        MakeBase("24-bit 50x60", 40, 50, 60, 24, 0, 0, Rows(50, 60, 24), StrideOf(50, 24)),
        MakeBase("32-bit 40x40", 40, 40, 40, 32, 0, 0, Rows(40, 40, 32), StrideOf(40, 32)),
        MakeBase("16-bit bit fields 60x50", 40, 60, 50, 16, 3, 0, Rows(60, 50, 16), StrideOf(60, 16)),
        MakeBase("8-bit oldest header 64x50", 12, 64, 50, 8, 0, 256, Rows(64, 50, 8), StrideOf(64, 8)),
        MakeBase("8-bit 52-byte header 64x70", 52, 64, 70, 8, 0, 256, Rows(64, 70, 8), StrideOf(64, 8)),
        MakeBase("32-bit bit fields, 108-byte header 32x40", 108, 32, 40, 32, 3, 0, Rows(32, 40, 32), StrideOf(32, 32)),
        MakeBase("8-bit 124-byte header 64x60, 20 colours", 124, 64, 60, 8, 0, 20, Rows(64, 60, 8), StrideOf(64, 8)),
        MakeBase("8-bit run-length 300x40", 40, 300, 40, 8, 1, 256, RunLengthRows(300, 40, 8), 0),
        MakeBase("4-bit run-length 300x40", 40, 300, 40, 4, 2, 16, RunLengthRows(300, 40, 4), 0),
    };
}

// Values that decide where rows start and how long they are, and the
// degenerate ones: zero, the edges of each width, the file's own sizes.
inline std::vector<uint32_t> TellingValues(const Base& base, const Field& field) {
    const uint32_t now = Get(base.bytes, field.offset, field.size);
    const uint32_t size = static_cast<uint32_t>(base.bytes.size());
    std::vector<uint32_t> values = {0,  1,   2,   3,      4,      5,      6,       8,       16,      24,
                                    32, 255, 256, 0x7FFF, 0x8000, 0xFFFF, now - 1, now + 1, now * 2, now / 2};
    if (field.size == 4) {
        values.insert(values.end(),
                      {13, 14, 40, 54, 124, kPage, 0x10000, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu, 0u - now, now + 4,
                       size - 1, size, size + 1, base.tableEnd - 1, base.tableEnd + 1, size - base.tableEnd});
    }
    const uint32_t mask = field.size == 2 ? 0xFFFF : 0xFFFFFFFF;
    std::vector<uint32_t> distinct;
    for (uint32_t value : values) {
        value &= mask;
        if (value != now && std::find(distinct.begin(), distinct.end(), value) == distinct.end()) {
            distinct.push_back(value);
        }
    }
    return distinct;
}

using Visit = std::function<void(const std::string& bytes, const std::string& description)>;

// The file as it is, and cut to its last whole page. The loader's view of
// a file ends with the file's last page, whatever the file's own end.
inline void WithPageEnd(const std::string& bytes, const std::string& description, const Visit& visit) {
    visit(bytes, description);
    const size_t size = bytes.size();
    if (size > kPage && size % kPage != 0) {
        visit(bytes.substr(0, size / kPage * kPage), description + ", cut to " + std::to_string(size / kPage * kPage));
    }
}

inline void ForEachDamagedFile(const Visit& visit) {
    const std::vector<Base> bases = Bases();
    for (const Base& base : bases) {
        // Every field at every telling value.
        for (const Field& field : base.fields) {
            for (uint32_t value : TellingValues(base, field)) {
                std::string bytes = base.bytes;
                Put(bytes, field.offset, field.size, value);
                WithPageEnd(bytes, base.name + ": " + field.name + " " + Hex(value), visit);
            }
        }
        // Cuts: through the headers and the table byte by byte, around the
        // table's end, at every row's end, at every page, one byte short.
        const uint32_t size = static_cast<uint32_t>(base.bytes.size());
        std::vector<uint32_t> cuts;
        for (uint32_t length = 0; length < std::min<uint32_t>(size, base.tableEnd + 4); ++length) {
            if (length < 140 || length + 4 >= base.tableEnd) cuts.push_back(length);
        }
        for (uint32_t row = base.tableEnd; base.stride != 0 && row < size; row += base.stride) {
            for (uint32_t length : {row - 1, row, row + 1}) cuts.push_back(length);
        }
        for (uint32_t page = kPage; page < size; page += kPage) cuts.push_back(page);
        cuts.push_back(size - 1);
        for (uint32_t length : cuts) {
            if (length < size) visit(base.bytes.substr(0, length), base.name + ": cut to " + std::to_string(length));
        }
    }

    // Damage in combinations, seeded so that every run makes the same files.
    std::mt19937 random(16);
    for (int n = 0; n < 2000; ++n) {
        const Base& base = bases[random() % bases.size()];
        std::string bytes = base.bytes;
        std::string description = base.name + ":";
        const int damages = 2 + static_cast<int>(random() % 3);
        for (int d = 0; d < damages; ++d) {
            const Field& field = base.fields[random() % base.fields.size()];
            const std::vector<uint32_t> telling = TellingValues(base, field);
            const uint32_t value =
                random() % 2 == 0 ? telling[random() % telling.size()] : static_cast<uint32_t>(random());
            Put(bytes, field.offset, field.size, value);
            description += std::string(" ") + field.name + " " + Hex(Get(bytes, field.offset, field.size));
        }
        switch (random() % 3) {
            case 0:
                break;
            case 1: {
                const size_t length = random() % (bytes.size() + 1);
                bytes.resize(length);
                description += ", cut to " + std::to_string(length);
                break;
            }
            default:
                bytes.resize(std::max<size_t>(bytes.size() / kPage * kPage, kPage), '\0');
                description += ", to " + std::to_string(bytes.size()) + " bytes";
                break;
        }
        visit(bytes, description);
    }
}

}  // namespace damaged_bitmaps
