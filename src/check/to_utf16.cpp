#include "check/to_utf16.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/code_page.h"

namespace fs = std::filesystem;

namespace {

void AppendCodePoint(std::u16string& text, uint32_t code) {
    if (code < 0x10000) {
        text.push_back(static_cast<char16_t>(code));
    } else {
        code -= 0x10000;
        text.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
        text.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    }
}

// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF.
bool DecodeUtf8(const std::string& bytes, size_t from, std::u16string* text) {
    text->clear();
    for (size_t i = from; i < bytes.size();) {
        const uint8_t lead = static_cast<uint8_t>(bytes[i]);
        size_t extra = 0;
        uint32_t code = 0;
        uint32_t least = 0;
        if (lead < 0x80) {
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, code = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, code = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, code = lead & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (i + extra >= bytes.size() && extra > 0) return false;
        for (size_t k = 1; k <= extra; ++k) {
            const uint8_t next = static_cast<uint8_t>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        AppendCodePoint(*text, code);
        i += extra + 1;
    }
    return true;
}

std::u16string DecodeUtf16(const std::string& bytes, size_t from, bool bigEndian) {
    std::u16string text;
    for (size_t i = from; i + 1 < bytes.size(); i += 2) {
        const uint8_t first = static_cast<uint8_t>(bytes[i]);
        const uint8_t second = static_cast<uint8_t>(bytes[i + 1]);
        text.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
    }
    return text;
}

}  // namespace

// Characters of the ASCII range, which every INI file has in its brackets,
// keys, '=' and line ends, are one zero byte and one other in UTF-16: the zero
// second in little endian, first in big endian; UTF-8 and ANSI text hold no
// zero byte. The other order's pattern turns up now and then (U+4E00 and every
// character whose low byte is zero), so the larger count decides when it is
// over twice the other and covers a sixteenth of the units at least: a stray
// zero byte in UTF-8 text does not make it UTF-16.
UnmarkedUtf16 DetectUnmarkedUtf16(const std::string& bytes) {
    size_t little = 0;
    size_t big = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const bool firstZero = bytes[i] == 0;
        const bool secondZero = bytes[i + 1] == 0;
        // U+0000 is in no INI text.
        if (firstZero && secondZero) return UnmarkedUtf16::kNone;
        little += secondZero ? 1 : 0;
        big += firstZero ? 1 : 0;
    }
    const size_t taken = std::max(little, big);
    const size_t other = std::min(little, big);
    if (taken == 0 || taken <= other * 2 || taken * 16 < bytes.size() / 2) return UnmarkedUtf16::kNone;
    return little > big ? UnmarkedUtf16::kLittleEndian : UnmarkedUtf16::kBigEndian;
}

bool DecodeIniText(const std::string& bytes, uint32_t codePage, DecodedText* decoded) {
    if (bytes.compare(0, 2, "\xFF\xFE") == 0) {
        *decoded = DecodedText{DecodeUtf16(bytes, 2, false), "UTF-16 little endian"};
        return true;
    }
    if (bytes.compare(0, 2, "\xFE\xFF") == 0) {
        *decoded = DecodedText{DecodeUtf16(bytes, 2, true), "UTF-16 big endian"};
        return true;
    }
    switch (DetectUnmarkedUtf16(bytes)) {
        case UnmarkedUtf16::kLittleEndian:
            *decoded = DecodedText{DecodeUtf16(bytes, 0, false), "UTF-16 little endian without a byte-order mark"};
            return true;
        case UnmarkedUtf16::kBigEndian:
            *decoded = DecodedText{DecodeUtf16(bytes, 0, true), "UTF-16 big endian without a byte-order mark"};
            return true;
        case UnmarkedUtf16::kNone:
            break;
    }
    // A zero byte ends the menu's text where it stands: no other reading
    // makes an INI file of it.
    if (bytes.find('\0') != std::string::npos) return false;
    const bool marked = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    if (DecodeUtf8(bytes, marked ? 3 : 0, &decoded->text)) {
        decoded->encoding = marked ? "UTF-8 with a byte-order mark" : "UTF-8";
        return true;
    }
    if (platform::WidenFromCodePage(codePage, bytes, &decoded->text)) {
        decoded->encoding = codePage == platform::kSystemCodePage ? "the ANSI code page"
                                                                   : "code page " + std::to_string(codePage);
        return true;
    }
    return false;
}

std::string EncodeUtf16Le(const std::u16string& text) {
    std::string bytes("\xFF\xFE", 2);
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

bool ConvertToUtf16(const fs::path& in, const fs::path& out, uint32_t codePage, std::string* message) {
    std::error_code error;
    if (fs::exists(out, error) && fs::equivalent(in, out, error)) {
        *message = "refusing to write over " + in.string() + ": name another file for the result";
        return false;
    }
    std::ifstream input(in, std::ios::binary);
    if (!input) {
        *message = "cannot read " + in.string();
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(input)), std::istreambuf_iterator<char>());
    DecodedText decoded;
    if (!DecodeIniText(bytes, codePage, &decoded)) {
        *message = in.string() + " is neither UTF-16, UTF-8 nor text in " +
                   (codePage == platform::kSystemCodePage ? std::string("the ANSI code page")
                                                          : "code page " + std::to_string(codePage));
        return false;
    }
    std::ofstream output(out, std::ios::binary | std::ios::trunc);
    const std::string encoded = EncodeUtf16Le(decoded.text);
    output.write(encoded.data(), static_cast<std::streamsize>(encoded.size()));
    if (!output.flush()) {
        *message = "cannot write " + out.string();
        return false;
    }
    *message = "wrote " + out.string() + " as UTF-16 little endian with a byte-order mark, from " + decoded.encoding;
    return true;
}
