// Host-build narrow texts: UTF-8, cut at a character boundary.
#include "platform/text.h"

#include <cstddef>
#include <cstdint>

char* ToNarrow(char (&dst)[kNarrowCapacity], const char16_t* src) {
    size_t n = 0;
    for (size_t i = 0; src[i] != 0;) {
        uint32_t code = src[i];
        size_t units = 1;
        if (code >= 0xD800 && code <= 0xDBFF && src[i + 1] >= 0xDC00 && src[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (src[i + 1] - 0xDC00u);
            units = 2;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = '?';  // a lone surrogate has no narrow form
        }
        char bytes[4];
        size_t count = 0;
        if (code < 0x80) {
            bytes[count++] = static_cast<char>(code);
        } else if (code < 0x800) {
            bytes[count++] = static_cast<char>(0xC0 | (code >> 6));
            bytes[count++] = static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            bytes[count++] = static_cast<char>(0xE0 | (code >> 12));
            bytes[count++] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes[count++] = static_cast<char>(0x80 | (code & 0x3F));
        } else {
            bytes[count++] = static_cast<char>(0xF0 | (code >> 18));
            bytes[count++] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            bytes[count++] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes[count++] = static_cast<char>(0x80 | (code & 0x3F));
        }
        if (n + count > kNarrowCapacity - 1) break;
        for (size_t b = 0; b < count; ++b) dst[n++] = bytes[b];
        i += units;
    }
    dst[n] = 0;
    return dst;
}

namespace platform {

const char* NextCharacter(const char* text) {
    if (*text == 0) return text;
    ++text;
    while ((static_cast<unsigned char>(*text) & 0xC0) == 0x80) ++text;
    return text;
}

}  // namespace platform
