#include "config/formatted_input.h"

namespace {

bool IsSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

int DigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return 99;
}

// One conversion at `at`; false when no digit is there. The value is
// accumulated unsigned, so an overlong number wraps instead of overflowing.
bool ReadInteger(const char16_t*& at, bool detectBase, int32_t* out) {
    const char16_t* p = at;
    while (IsSpace(*p)) ++p;
    bool negative = false;
    if (*p == u'+' || *p == u'-') negative = (*p++ == u'-');

    unsigned base = 10;
    bool sawDigit = false;
    if (detectBase && *p == u'0') {
        if ((p[1] == u'x' || p[1] == u'X') && DigitValue(p[2]) < 16) {
            base = 16;
            p += 2;
        } else {
            base = 8;
        }
    }

    uint32_t value = 0;
    for (; DigitValue(*p) < static_cast<int>(base); ++p) {
        value = value * base + static_cast<uint32_t>(DigitValue(*p));
        sawDigit = true;
    }
    if (!sawDigit) return false;
    if (negative) value = 0u - value;
    *out = static_cast<int32_t>(value);
    at = p;
    return true;
}

}  // namespace

int ScanIntegers(const char16_t* text, const char* pattern, int32_t* const targets[], size_t targetCount) {
    int assigned = 0;
    const char16_t* at = text;
    for (const char* item = pattern; *item != 0; ++item) {
        if (item[0] == '%' && (item[1] == 'd' || item[1] == 'i')) {
            if (static_cast<size_t>(assigned) >= targetCount) break;
            int32_t value = 0;
            if (!ReadInteger(at, item[1] == 'i', &value)) break;
            *targets[assigned++] = value;
            ++item;
        } else if (IsSpace(static_cast<char16_t>(*item))) {
            while (IsSpace(*at)) ++at;
        } else {
            if (*at != static_cast<char16_t>(static_cast<unsigned char>(*item))) break;
            ++at;
        }
    }
    return assigned;
}

const char16_t* AfterLastComma(const char16_t* text) {
    const char16_t* after = nullptr;
    for (const char16_t* p = text; *p != 0; ++p) {
        if (*p == u',') after = p + 1;
    }
    return after;
}
