// Host-build code pages through the C library's iconv, which knows the
// Windows code pages by the names CP1252, CP932 and so on.
#include <iconv.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/code_page.h"

namespace platform {

namespace {

std::string IconvName(uint32_t codePage) {
    return "CP" + std::to_string(codePage == kSystemCodePage ? 1252u : codePage);
}

// Converts all of `input`; false when a character does not convert or the
// conversion is unknown (`known` then false).
bool Convert(const char* to, const char* from, const std::string& input, std::string* output, bool* known) {
    iconv_t conversion = iconv_open(to, from);
    *known = conversion != reinterpret_cast<iconv_t>(-1);
    if (!*known) return false;
    std::vector<char> in(input.begin(), input.end());
    std::vector<char> out(input.size() * 4 + 16);
    char* inAt = in.data();
    size_t inLeft = in.size();
    char* outAt = out.data();
    size_t outLeft = out.size();
    const size_t result = iconv(conversion, &inAt, &inLeft, &outAt, &outLeft);
    iconv_close(conversion);
    if (result == static_cast<size_t>(-1) || inLeft != 0) return false;
    output->assign(out.data(), static_cast<size_t>(outAt - out.data()));
    return true;
}

std::string Utf16Bytes(const std::u16string& text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

}  // namespace

CodePageFit FitInCodePage(uint32_t codePage, const std::u16string& text, std::string* bytes) {
    const std::string to = IconvName(codePage);
    std::string converted;
    bool known = false;
    const bool fits = Convert(to.c_str(), "UTF-16LE", Utf16Bytes(text), &converted, &known);
    if (bytes != nullptr) bytes->clear();
    if (!known) return CodePageFit::kUnknownCodePage;
    if (bytes != nullptr && fits) *bytes = converted;
    if (bytes != nullptr && !fits) {
        // Character by character: one "?" for each character the code page lacks.
        for (size_t i = 0; i < text.size(); ++i) {
            const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF;
            std::string one;
            *bytes += Convert(to.c_str(), "UTF-16LE", Utf16Bytes(text.substr(i, pair ? 2 : 1)), &one, &known) ? one
                                                                                                             : "?";
            if (pair) ++i;
        }
    }
    return fits ? CodePageFit::kFits : CodePageFit::kLacksCharacters;
}

bool WidenFromCodePage(uint32_t codePage, const std::string& bytes, std::u16string* text) {
    std::string utf16;
    bool known = false;
    if (!Convert("UTF-16LE", IconvName(codePage).c_str(), bytes, &utf16, &known)) return false;
    text->clear();
    for (size_t i = 0; i + 1 < utf16.size(); i += 2) {
        text->push_back(static_cast<char16_t>(static_cast<unsigned char>(utf16[i]) |
                                              (static_cast<unsigned char>(utf16[i + 1]) << 8)));
    }
    return true;
}

}  // namespace platform
