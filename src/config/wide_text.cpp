#include "config/wide_text.h"

namespace {

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

char FoldAZ(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

}  // namespace

size_t WideLength(const char16_t* text) {
    size_t n = 0;
    while (text[n] != 0) ++n;
    return n;
}

void CopyWide(char16_t* dst, size_t capacity, const char16_t* src) {
    if (capacity == 0) return;
    dst[0] = 0;
    AppendWide(dst, capacity, src);
}

void AppendWide(char16_t* dst, size_t capacity, const char16_t* src) {
    if (capacity == 0) return;
    size_t n = WideLength(dst);
    if (src != nullptr) {
        for (; n + 1 < capacity && *src != 0; ++n, ++src) dst[n] = *src;
        // A high surrogate whose partner did not fit is dropped.
        if (*src != 0 && n > 0 && IsHighSurrogate(dst[n - 1])) --n;
    }
    dst[n] = 0;
}

void WidenAscii(char16_t* dst, size_t capacity, const char* src) {
    if (capacity == 0) return;
    size_t n = 0;
    for (; n + 1 < capacity && src[n] != 0; ++n) dst[n] = static_cast<unsigned char>(src[n]);
    dst[n] = 0;
}

bool EqualsFoldingAZ(const char16_t* a, const char16_t* b) {
    for (; FoldAZ(*a) == FoldAZ(*b); ++a, ++b) {
        if (*a == 0) return true;
    }
    return false;
}

bool EqualsFoldingAZ(const char* a, const char* b) {
    for (; FoldAZ(*a) == FoldAZ(*b); ++a, ++b) {
        if (*a == 0) return true;
    }
    return false;
}
