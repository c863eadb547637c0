#include <windows.h>

#include <vector>

#include "platform/code_page.h"

namespace platform {

CodePageFit FitInCodePage(uint32_t codePage, const std::u16string& text, std::string* bytes) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wide texts");
    if (bytes != nullptr) bytes->clear();
    const UINT page = codePage == kSystemCodePage ? CP_ACP : codePage;
    if (page != CP_ACP && !IsValidCodePage(page)) return CodePageFit::kUnknownCodePage;
    if (text.empty()) return CodePageFit::kFits;
    // Without best fit, a look-alike (A for A-macron) counts as missing too,
    // and becomes the default character "?".
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int units = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide, units, nullptr, 0, nullptr, &usedDefault);
    if (size == 0) return CodePageFit::kUnknownCodePage;
    if (bytes != nullptr) {
        bytes->resize(static_cast<size_t>(size));
        WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide, units, &(*bytes)[0], size, nullptr, nullptr);
    }
    return usedDefault ? CodePageFit::kLacksCharacters : CodePageFit::kFits;
}

bool WidenFromCodePage(uint32_t codePage, const std::string& bytes, std::u16string* text) {
    const UINT page = codePage == kSystemCodePage ? CP_ACP : codePage;
    text->clear();
    if (bytes.empty()) return true;
    const int units = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                          nullptr, 0);
    if (units == 0) return false;
    std::vector<wchar_t> wide(static_cast<size_t>(units));
    MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), wide.data(), units);
    for (wchar_t unit : wide) text->push_back(static_cast<char16_t>(unit));
    return true;
}

}  // namespace platform
