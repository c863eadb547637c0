#include "check/ini_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

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

std::string Decimal(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.8g", static_cast<double>(value));
    return text;
}

std::string RectText(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

namespace {

// Edits that turn one key into the other, letter case ignored.
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

}  // namespace

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
