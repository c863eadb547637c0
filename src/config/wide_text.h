#pragma once
// Helpers for the fixed-capacity UTF-16 texts of the model and the reader.
// Every writer is bounded by the destination's capacity and always
// terminates it.

#include <cstddef>

size_t WideLength(const char16_t* text);

// Copies at most capacity - 1 units of src (none when src is null) and
// terminates dst. A surrogate pair is never split at the cut.
void CopyWide(char16_t* dst, size_t capacity, const char16_t* src);

template <size_t N>
void CopyWide(char16_t (&dst)[N], const char16_t* src) {
    CopyWide(dst, N, src);
}

// Appends src to the text in dst within the same bound.
void AppendWide(char16_t* dst, size_t capacity, const char16_t* src);

// Copies an ASCII text into a wide buffer within the bound.
void WidenAscii(char16_t* dst, size_t capacity, const char* src);

// A-Z folded to a-z; every other unit unchanged.
inline char16_t FoldAZ(char16_t unit) {
    return (unit >= u'A' && unit <= u'Z') ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
}

// Equal when folding only A-Z.
bool EqualsFoldingAZ(const char16_t* a, const char16_t* b);
bool EqualsFoldingAZ(const char* a, const char* b);

// The narrow form of src within `capacity` bytes, terminator included, cut at
// a character boundary when it does not fit.
void ToNarrowWithin(char* dst, size_t capacity, const char16_t* src);
