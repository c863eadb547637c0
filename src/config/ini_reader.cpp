#include "config/ini_reader.h"

#include <new>

#include "config/wide_text.h"
#include "platform/file.h"
#include "platform/holders.h"

UnicodeIniReader iniReader;

namespace {

bool IsLineEnd(char16_t unit) {
    return unit == u'\r' || unit == u'\n';
}

bool IsBlank(char16_t unit) {
    return unit == u' ' || unit == u'\t';
}

// Does the text at `at` begin with `prefix`, folding A-Z on both sides? On a
// match `end` points just past it.
bool StartsWithFolded(const char16_t* at, const char16_t* prefix, const char16_t** end) {
    for (; *prefix != 0; ++at, ++prefix) {
        if (*at == 0 || FoldAZ(*at) != FoldAZ(*prefix)) return false;
    }
    *end = at;
    return true;
}

}  // namespace

UnicodeIniReader::~UnicodeIniReader() {
    Clear();
}

void UnicodeIniReader::Clear() {
    storage.reset();
    text = nullptr;
    loadedPath.clear();
    currentSection[0] = 0;
    sectionStart = nullptr;
    openBrackets.clear();
    bracketsIndexed = false;
}

// The mark and the text come in one read: from a disc every read costs.
bool UnicodeIniReader::Load(const char* path) {
    if (text != nullptr && EqualsFoldingAZ(path, loadedPath.c_str())) return true;
    Clear();

    const platform::OwnedFile file(platform::OpenFileForReading(path));
    if (file.Get() == nullptr) throw IniLoadFailure(std::string("Error opening file:  ") + path);
    const auto hasMark = [](const unsigned char* bytes, uint32_t got) {
        return got >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    };
    const IniLoadFailure wrongType(std::string("Wrong file type (Must be Little Endian Unicode): '") + path + "'!");

    // Every whole unit, the mark's included, and one more for the terminator.
    const uint32_t units = platform::FileSizeLow(file.Get()) / 2;
    std::unique_ptr<char16_t[]> buffer(new (std::nothrow) char16_t[size_t{units} + 1]);
    uint32_t got = 0;
    if (!buffer) {
        // A file too large to hold is only called so when it has the mark.
        unsigned char mark[2] = {0, 0};
        if (!platform::ReadFromFile(file.Get(), mark, 2, &got)) throw IniLoadFailure("Could not read the file!");
        if (!hasMark(mark, got)) throw wrongType;
        throw IniLoadFailure("Out of memory - Could not allocate buffer to load file!");
    }
    if (!platform::ReadFromFile(file.Get(), buffer.get(), units * 2, &got)) {
        throw IniLoadFailure("Could not read the file!");
    }
    if (!hasMark(reinterpret_cast<const unsigned char*>(buffer.get()), got)) throw wrongType;
    // A file that shrank since its size was taken ends where its data ends.
    buffer[got / 2] = 0;
    buffer[units] = 0;

    storage = std::move(buffer);
    text = storage.get() + 1;
    loadedPath = path;
    IndexOpenBrackets();
    return true;
}

const char16_t* UnicodeIniReader::NextLine(const char16_t* position) {
    while (*position != 0 && !IsLineEnd(*position)) ++position;
    if (*position == 0) return nullptr;
    while (IsLineEnd(*position)) ++position;
    return position;
}

bool UnicodeIniReader::FindSection(const char16_t* name) {
    if (sectionStart != nullptr && currentSection[0] != 0 && EqualsFoldingAZ(name, currentSection)) return true;
    currentSection[0] = 0;
    sectionStart = nullptr;
    if (!text) return false;

    const char16_t* header = FindHeader(name);
    if (header == nullptr) return false;

    // A header on the last line, with no line end after it, has no body.
    sectionStart = NextLine(header);
    if (sectionStart == nullptr) return false;

    // A name too long to remember exactly is not remembered, so that a cut
    // copy never answers for another name.
    if (WideLength(name) < kSectionCapacity) CopyWide(currentSection, name);
    return true;
}

// Without the memory for the index the text is searched as it is.
void UnicodeIniReader::IndexOpenBrackets() {
    openBrackets.clear();
    bracketsIndexed = false;
    try {
        for (const char16_t* at = text; *at != 0; ++at) {
            if (*at == u'[') openBrackets.push_back(at);
        }
        bracketsIndexed = true;
    } catch (const std::bad_alloc&) {
        openBrackets.clear();
    }
}

// The first "[name]" anywhere in the text, even inside another line.
const char16_t* UnicodeIniReader::FindHeader(const char16_t* name) const {
    const char16_t* end = nullptr;
    if (bracketsIndexed) {
        for (const char16_t* at : openBrackets) {
            if (StartsWithFolded(at + 1, name, &end) && *end == u']') return at;
        }
        return nullptr;
    }
    if (!text) return nullptr;
    for (const char16_t* at = text; *at != 0; ++at) {
        if (*at == u'[' && StartsWithFolded(at + 1, name, &end) && *end == u']') return at;
    }
    return nullptr;
}

const char16_t* UnicodeIniReader::FindKeyLine(const char16_t* section, const char16_t* key, const char16_t** value) {
    if (!FindSection(section)) return nullptr;
    for (const char16_t* line = sectionStart; line != nullptr; line = NextLine(line)) {
        if (*line == 0 || *line == u'[') return nullptr;
        const char16_t* after = nullptr;
        if (!StartsWithFolded(line, key, &after)) continue;
        while (IsBlank(*after)) ++after;
        if (*after != u'=') continue;
        *value = after + 1;
        return line;
    }
    return nullptr;
}

bool UnicodeIniReader::GetString(const char16_t* section, const char16_t* key, const char16_t* defaultValue,
                                 char16_t* out, size_t outCapacity) {
    if (notedLookups != nullptr) notedLookups->push_back(Lookup{section, key});
    CopyWide(out, outCapacity, defaultValue);
    const char16_t* value = nullptr;
    if (FindKeyLine(section, key, &value) == nullptr) return false;

    while (IsBlank(*value)) ++value;
    const char16_t* end = value;
    while (*end != 0 && !IsLineEnd(*end)) ++end;
    while (end > value && IsBlank(end[-1])) --end;

    size_t n = 0;
    for (; n + 1 < outCapacity && value + n < end; ++n) out[n] = value[n];
    if (outCapacity > 0) out[n] = 0;
    return true;
}

int32_t UnicodeIniReader::LineNumberAt(const char16_t* position) const {
    int32_t number = 1;
    for (const char16_t* p = text; p < position; ++p) {
        if (*p == u'\r' && p[1] == u'\n') {
            ++p;
            ++number;
        } else if (IsLineEnd(*p)) {
            ++number;
        }
    }
    return number;
}

std::vector<UnicodeIniReader::Line> UnicodeIniReader::Lines() const {
    std::vector<Line> lines;
    if (!text) return lines;
    int32_t number = 1;
    for (const char16_t* p = text; *p != 0;) {
        const char16_t* end = p;
        while (*end != 0 && !IsLineEnd(*end)) ++end;
        lines.push_back(Line{p, static_cast<size_t>(end - p), number++});
        if (*end == 0) break;
        p = end + ((end[0] == u'\r' && end[1] == u'\n') ? 2 : 1);
    }
    return lines;
}

int32_t UnicodeIniReader::SectionHeaderLine(const char16_t* section, size_t* column) const {
    const char16_t* header = FindHeader(section);
    if (header == nullptr) return 0;
    if (column != nullptr) {
        const char16_t* start = header;
        while (start > text && !IsLineEnd(start[-1])) --start;
        *column = static_cast<size_t>(header - start);
    }
    return LineNumberAt(header);
}

std::vector<UnicodeIniReader::Line> UnicodeIniReader::SectionLines(const char16_t* section) {
    std::vector<Line> lines;
    if (!FindSection(section)) return lines;
    for (const char16_t* line = sectionStart; line != nullptr && *line != 0 && *line != u'['; line = NextLine(line)) {
        const char16_t* end = line;
        while (*end != 0 && !IsLineEnd(*end)) ++end;
        lines.push_back(Line{line, static_cast<size_t>(end - line), LineNumberAt(line)});
    }
    return lines;
}

int32_t UnicodeIniReader::KeyLine(const char16_t* section, const char16_t* key) {
    const char16_t* value = nullptr;
    const char16_t* line = FindKeyLine(section, key, &value);
    return line != nullptr ? LineNumberAt(line) : 0;
}

int32_t UnicodeIniReader::GetInt(const char16_t* section, const char16_t* key, int32_t defaultValue) {
    char16_t defaultText[16];
    const std::string digits = std::to_string(defaultValue);
    WidenAscii(defaultText, 16, digits.c_str());
    char16_t value[kIniValueCapacity];
    GetString(section, key, defaultText, value);
    return WideToInt(value);
}

int32_t WideToInt(const char16_t* text) {
    auto isSpace = [](char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    while (isSpace(*text)) ++text;
    bool negative = false;
    if (*text == u'+' || *text == u'-') negative = (*text++ == u'-');
    int64_t magnitude = 0;
    for (; *text >= u'0' && *text <= u'9'; ++text) {
        magnitude = magnitude * 10 + (*text - u'0');
        if (magnitude > int64_t{1} << 32) magnitude = int64_t{1} << 32;  // saturated below
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}
