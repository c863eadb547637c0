#include "config/wide_text.h"

#include <cstring>

#include "platform/text.h"

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

void ToNarrowWithin(char* dst, size_t capacity, const char16_t* src) {
    if (capacity == 0) return;
    char16_t wide[kNarrowCapacity];
    CopyWide(wide, src);
    char narrow[kNarrowCapacity];
    for (size_t length = WideLength(wide);; ) {
        ToNarrow(narrow, wide);
        const size_t bytes = std::strlen(narrow);
        if (bytes < capacity) {
            std::memcpy(dst, narrow, bytes + 1);
            return;
        }
        // Drop the last character, a surrogate pair as a whole.
        --length;
        if (length > 0 && IsHighSurrogate(wide[length - 1])) --length;
        wide[length] = 0;
    }
}
