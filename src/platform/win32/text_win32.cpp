#include <windows.h>

#include "platform/text.h"

namespace {

int NarrowBytes(const wchar_t* src, int units) {
    return units == 0 ? 0 : WideCharToMultiByte(CP_ACP, 0, src, units, nullptr, 0, nullptr, nullptr);
}

}  // namespace

char* ToNarrow(char (&dst)[kNarrowCapacity], const char16_t* src) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wide texts");
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(src);
    int units = lstrlenW(wide);

    // A text whose narrow form does not fit is cut to the longest prefix that
    // does. Prefixes end on whole wide characters, so a double-byte character
    // is never split, and a surrogate pair is kept whole.
    if (NarrowBytes(wide, units) > kNarrowCapacity - 1) {
        int fits = 0;
        int tooLong = units;
        while (tooLong - fits > 1) {
            const int middle = fits + (tooLong - fits) / 2;
            if (NarrowBytes(wide, middle) <= kNarrowCapacity - 1) {
                fits = middle;
            } else {
                tooLong = middle;
            }
        }
        if (fits > 0 && IS_HIGH_SURROGATE(wide[fits - 1])) --fits;
        units = fits;
    }
    const int written =
        units == 0 ? 0 : WideCharToMultiByte(CP_ACP, 0, wide, units, dst, kNarrowCapacity - 1, nullptr, nullptr);
    dst[written] = 0;
    return dst;
}

namespace platform {

const char* NextCharacter(const char* text) {
    return CharNextA(text);
}

}  // namespace platform
