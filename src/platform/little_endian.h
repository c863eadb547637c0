#pragma once
// Numbers as Windows file formats store them, least significant byte first,
// read the same way on every build.

#include <cstdint>

inline uint32_t ReadLittle16(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8);
}

inline uint32_t ReadLittle32(const uint8_t* p) {
    return ReadLittle16(p) | (ReadLittle16(p + 2) << 16);
}
