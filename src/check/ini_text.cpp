#include "check/ini_text.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>

#include "config/formatted_input.h"
#include "config/ini_reader.h"
#include "config/menu_model.h"
#include "config/wide_text.h"
#include "platform/text.h"

std::string Narrow(const std::u16string& text) {
    char narrow[kNarrowCapacity];
    return ToNarrow(narrow, text.c_str());
}

std::u16string Widen(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

std::u16string Fold(std::u16string text) {
    for (char16_t& unit : text) unit = FoldAZ(unit);
    return text;
}

bool IsBlank(char16_t unit) {
    return unit == u' ' || unit == u'\t';
}

std::u16string TrimRight(std::u16string text) {
    while (!text.empty() && IsBlank(text.back())) text.pop_back();
    return text;
}

std::u16string IniValue(const std::u16string& section, const std::u16string& key) {
    char16_t value[kIniValueCapacity];
    iniReader.GetString(section.c_str(), key.c_str(), u"", value);
    return value;
}

std::u16string ButtonSection(int32_t number, const std::u16string& tag) {
    return u"Button" + Widen(std::to_string(number)) + u"-" + tag;
}

int32_t LayoutLine(const std::u16string& tag, const char16_t* key) {
    const std::u16string prompt = u"Prompt-" + tag;
    const int32_t own = iniReader.KeyLine(prompt.c_str(), key);
    if (own != 0 && !IniValue(prompt, key).empty()) return own;
    return iniReader.KeyLine(kGeneral, key);
}

bool LanguageEntry(int32_t n, int32_t* identifier) {
    const std::u16string value = IniValue(u"Languages", u"language" + Widen(std::to_string(n)));
    int32_t ignored = 0;
    *identifier = 0;
    int32_t* const targets[] = {identifier, &ignored};
    return ScanIntegers(value.c_str(), "%i,%d", targets, 2) > 0;
}

std::string OctalReading(const std::u16string& value) {
    for (size_t at = 0; at < value.size(); ++at) {
        // A number starts after anything but a letter or digit ("0x" is hexadecimal).
        const char16_t before = at > 0 ? value[at - 1] : u' ';
        const bool starts = !(before < 0x80 && std::isalnum(static_cast<unsigned char>(before)));
        if (!starts || value[at] != u'0') continue;
        size_t end = at;
        while (end < value.size() && value[end] >= u'0' && value[end] <= u'9') ++end;
        const std::u16string digits = value.substr(at, end - at);
        if (digits.size() < 2 || digits.find_first_not_of(u'0') == std::u16string::npos) {
            at = end;
            continue;
        }
        // Octal digits are read up to the first 8 or 9.
        uint32_t read = 0;
        for (char16_t digit : digits) {
            if (digit > u'7') break;
            read = read * 8 + static_cast<uint32_t>(digit - u'0');
        }
        return Narrow(digits) + " reads as " + std::to_string(read);
    }
    return "";
}

std::string Decimal(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", static_cast<double>(value));
    return text;
}

std::string RectText(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

size_t EditDistance(const std::u16string& a, const std::u16string& b) {
    const std::u16string x = Fold(a);
    const std::u16string y = Fold(b);
    std::vector<size_t> row(y.size() + 1);
    for (size_t j = 0; j <= y.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= x.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= y.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[y.size()];
}

std::u16string Nearest(const std::u16string& key, const std::vector<std::u16string>& candidates) {
    std::u16string best;
    size_t bestDistance = SIZE_MAX;
    for (const std::u16string& candidate : candidates) {
        const size_t distance = EditDistance(key, candidate);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    return best;
}
