#include "check/autorun_inf.h"

#include "check/ini_text.h"
#include "platform/code_page.h"

namespace {

std::u16string Trimmed(const std::u16string& text) {
    size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    return TrimRight(text.substr(start));
}

// A pair of quotes, either kind, around the whole value is taken off.
std::u16string Unquoted(const std::u16string& value) {
    if (value.size() >= 2 && (value[0] == u'"' || value[0] == u'\'') && value.back() == value[0]) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::u16string Utf16(const std::string& bytes, bool bigEndian) {
    std::u16string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const unsigned first = static_cast<unsigned char>(bytes[i]);
        const unsigned second = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
    }
    return text;
}

}  // namespace

AutorunValue AutorunInf::Key(const std::u16string& name) const {
    const auto found = keys.find(Fold(name));
    return found != keys.end() ? found->second : AutorunValue{};
}

bool ReadAutorunInf(const std::string& bytes, uint32_t codePage, AutorunInf* inf) {
    *inf = AutorunInf{};
    inf->utf8Mark = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    std::u16string text;
    if (bytes.compare(0, 2, "\xFF\xFE") == 0) {
        text = Utf16(bytes, false);
    } else if (bytes.compare(0, 2, "\xFE\xFF") == 0) {
        text = Utf16(bytes, true);
    } else if (!platform::WidenFromCodePage(codePage, bytes, &text)) {
        return false;
    }

    enum class Place { kBefore, kInside, kAfter } place = Place::kBefore;
    int32_t number = 0;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string::npos) end = text.size();
        ++number;
        const std::u16string line = Trimmed(text.substr(start, end - start));
        start = end + (text.compare(end, 2, u"\r\n") == 0 ? 2 : 1);
        if (line.empty() || line[0] == u';') continue;
        if (line[0] == u'[') {
            const size_t close = line.find(u']');
            const std::u16string name = Trimmed(line.substr(1, close == std::u16string::npos ? std::u16string::npos
                                                                                               : close - 1));
            if (place == Place::kInside) place = Place::kAfter;
            if (place == Place::kBefore && Fold(name) == u"autorun") {
                place = Place::kInside;
                inf->sectionLine = number;
            }
            continue;
        }
        if (place != Place::kInside) continue;
        const size_t equals = line.find(u'=');
        const std::u16string key = Fold(TrimRight(line.substr(0, equals)));
        const std::u16string value =
            equals == std::u16string::npos ? std::u16string() : Unquoted(Trimmed(line.substr(equals + 1)));
        inf->keys.emplace(key, AutorunValue{value, number});
    }
    return true;
}

AutorunCommand SplitAutorunCommand(const std::u16string& value) {
    AutorunCommand command;
    size_t rest = 0;
    if (!value.empty() && value[0] == u'"') {
        const size_t close = value.find(u'"', 1);
        command.program = value.substr(1, close == std::u16string::npos ? std::u16string::npos : close - 1);
        rest = close == std::u16string::npos ? value.size() : close + 1;
    } else {
        rest = value.find_first_of(u" \t");
        if (rest == std::u16string::npos) rest = value.size();
        command.program = value.substr(0, rest);
    }
    while (rest < value.size() && IsBlank(value[rest])) ++rest;
    command.arguments = value.substr(rest);
    return command;
}

std::u16string IconFileOf(const std::u16string& value) {
    const size_t comma = value.rfind(u',');
    if (comma != std::u16string::npos) {
        const std::u16string index = Trimmed(value.substr(comma + 1));
        size_t digit = !index.empty() && index[0] == u'-' ? 1 : 0;
        bool number = digit < index.size();
        for (; digit < index.size(); ++digit) number = number && index[digit] >= u'0' && index[digit] <= u'9';
        if (number) return Unquoted(Trimmed(value.substr(0, comma)));
    }
    return Unquoted(value);
}
