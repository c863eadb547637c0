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

}  // namespace

CodePageFit FitInCodePage(uint32_t codePage, const std::u16string& text) {
    std::string utf16;
    for (char16_t unit : text) {
        utf16.push_back(static_cast<char>(unit & 0xFF));
        utf16.push_back(static_cast<char>(unit >> 8));
    }
    std::string converted;
    bool known = false;
    const bool fits = Convert(IconvName(codePage).c_str(), "UTF-16LE", utf16, &converted, &known);
    if (!known) return CodePageFit::kUnknownCodePage;
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
