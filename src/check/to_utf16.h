#pragma once
// Turning an INI file saved in another encoding into the UTF-16 little
// endian text with a byte-order mark that the menu reads.

#include <cstdint>
#include <filesystem>
#include <string>

struct DecodedText {
    std::u16string text;
    std::string encoding;  // what the bytes were found to be
};

enum class UnmarkedUtf16 { kNone, kLittleEndian, kBigEndian };

// Whether the bytes are UTF-16 text without a byte-order mark, and in which
// order; they may be the head of a longer file.
UnmarkedUtf16 DetectUnmarkedUtf16(const std::string& bytes);

// Reads the bytes as UTF-16 with a byte-order mark (either order) or without
// one, as UTF-8 (with or without a mark) when they are valid UTF-8, and
// otherwise in the code page. False when they are none of these, and for
// other text with a zero byte.
bool DecodeIniText(const std::string& bytes, uint32_t codePage, DecodedText* decoded);

// The text as UTF-16 little endian, after the byte-order mark FF FE.
std::string EncodeUtf16Le(const std::u16string& text);

// Writes `in` converted to `out`; refuses to write over `in`. False, with
// the reason in `message`, when nothing was written.
bool ConvertToUtf16(const std::filesystem::path& in, const std::filesystem::path& out, uint32_t codePage,
                    std::string* message);
