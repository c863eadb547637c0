#include "check/joliet_names.h"

bool IsRefusedInJoliet(char16_t unit) {
    switch (unit) {
        case u'*':
        case u'/':
        case u':':
        case u';':
        case u'?':
        case u'\\':
        case 0x7F:
            return true;
        default:
            // Both halves of a surrogate pair: Joliet holds UCS-2 only.
            return unit < 0x20 || (unit >= 0xD800 && unit <= 0xDFFF);
    }
}

JolietName JolietNameOf(const std::u16string& name) {
    JolietName result;
    result.length = name.size();
    for (size_t i = 0; i < name.size(); ++i) {
        if (!IsRefusedInJoliet(name[i])) continue;
        // A pair is one character beyond U+FFFF.
        const bool pair = name[i] >= 0xD800 && name[i] <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 &&
                          name[i + 1] <= 0xDFFF;
        const std::u16string character = name.substr(i, pair ? 2 : 1);
        if (result.refused.find(character) == std::u16string::npos) result.refused += character;
        if (pair) ++i;
    }
    return result;
}

size_t JolietPathBytes(const std::vector<std::u16string>& names) {
    size_t bytes = 0;
    for (const std::u16string& name : names) bytes += 2 * name.size() + 1;
    return bytes;
}
