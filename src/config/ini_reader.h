#pragma once
// Reads install.ini: UTF-16 little-endian text with the byte-order mark FF FE,
// held in memory and searched in place by section and key.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Capacity, terminator included, of a value read by GetString: a line holds at
// most 255 characters.
constexpr size_t kIniValueCapacity = 256;

// A failed load. what() is the narrow message text shown to the user.
class IniLoadFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class UnicodeIniReader {
public:
    UnicodeIniReader() = default;
    virtual ~UnicodeIniReader();
    UnicodeIniReader(const UnicodeIniReader&) = delete;
    UnicodeIniReader& operator=(const UnicodeIniReader&) = delete;

    // True on success; a failure is raised as IniLoadFailure, after the reader
    // has been cleared. Loading the path already held reads nothing.
    [[nodiscard]] bool Load(const char* path);
    void Clear();

    // Writes the value of key in section into out, or defaultValue (the empty
    // text when null) when the section or key is missing. True when found.
    bool GetString(const char16_t* section, const char16_t* key, const char16_t* defaultValue, char16_t* out,
                   size_t outCapacity);
    template <size_t N>
    bool GetString(const char16_t* section, const char16_t* key, const char16_t* defaultValue, char16_t (&out)[N]) {
        return GetString(section, key, defaultValue, out, N);
    }

    // The value's leading integer; defaultValue when the key is missing, 0
    // when the value holds no digits.
    int32_t GetInt(const char16_t* section, const char16_t* key, int32_t defaultValue);

    // Where lookups find their answers, for tools that point a disc's author
    // at a line. Lines are numbered from 1 as editors count them: CR LF, a
    // lone CR and a lone LF each end one line.
    struct Line {
        const char16_t* text;  // inside the loaded text, not terminated
        size_t length;
        int32_t number;
    };
    // Every line of the loaded text, empty ones included.
    std::vector<Line> Lines() const;
    // The line holding the header that lookups of `section` take, 0 when they
    // find none; `column` receives where the header begins in that line.
    int32_t SectionHeaderLine(const char16_t* section, size_t* column = nullptr) const;
    // The lines that lookups in `section` search, in order; none when the
    // section is missing.
    std::vector<Line> SectionLines(const char16_t* section);
    // The line whose value GetString(section, key) reads; 0 when it reads none.
    int32_t KeyLine(const char16_t* section, const char16_t* key);

    // Every lookup from now on appends its section and key to `lookups`
    // (null: none is noted), so that a tool can tell which keys a run reads.
    struct Lookup {
        std::u16string section;
        std::u16string key;
    };
    void NoteLookups(std::vector<Lookup>* lookups) { notedLookups = lookups; }

private:
    bool FindSection(const char16_t* name);
    const char16_t* FindHeader(const char16_t* name) const;
    void IndexOpenBrackets();
    // The start of the line GetString(section, key) reads, and where its value begins.
    const char16_t* FindKeyLine(const char16_t* section, const char16_t* key, const char16_t** value);
    int32_t LineNumberAt(const char16_t* position) const;
    static const char16_t* NextLine(const char16_t* position);

    static constexpr size_t kSectionCapacity = 128;

    std::string loadedPath;
    std::unique_ptr<char16_t[]> text;
    int32_t textLength = 0;
    char16_t currentSection[kSectionCapacity] = {};
    const char16_t* sectionStart = nullptr;
    // Where each "[" of the text stands, in order: the only places a header
    // can begin, so that a section is found without scanning the whole text.
    std::vector<const char16_t*> openBrackets;
    bool bracketsIndexed = false;
    std::vector<Lookup>* notedLookups = nullptr;
};

// The one reader of the process, loaded at start-up.
extern UnicodeIniReader iniReader;

// The standard wide-text-to-integer conversion: leading white space, an
// optional sign, decimal digits up to the first other character; 0 without
// digits. Out-of-range values saturate.
int32_t WideToInt(const char16_t* text);
