#include "config/language_selection.h"

#include <string>

#include "config/formatted_input.h"
#include "config/ini_reader.h"
#include "config/ini_values.h"
#include "config/language_tag.h"
#include "config/saturating.h"
#include "config/scaling.h"
#include "config/wide_text.h"
#include "platform/system.h"

namespace {

constexpr uint32_t kPrimaryLanguageMask = 0x3FF;

uint32_t UserPrimaryLanguage() {
    return platform::UserDefaultLanguageId() & kPrimaryLanguageMask;
}

// The primary languages of the installed locales, from one enumeration, so
// that a pass over the offered languages asks the system once, not once for
// each language.
class InstalledLanguages {
public:
    void Enumerate() { platform::EnumerateInstalledLocales(Visit, this); }
    bool Has(uint32_t identifier) const { return primary[identifier & kPrimaryLanguageMask]; }

private:
    static bool Visit(const char* locale, void* context) {
        char16_t text[32] = u"0x";
        WidenAscii(text + 2, 30, locale);
        static_cast<InstalledLanguages*>(context)->primary[ReadIdentifier(text) & kPrimaryLanguageMask] = true;
        return true;
    }

    bool primary[kPrimaryLanguageMask + 1] = {};
};

}  // namespace

uint32_t ReadIdentifier(const char16_t* text) {
    int32_t identifier = 0;
    int32_t* const targets[] = {&identifier};
    ScanIntegers(text, "%i", targets, 1);
    return static_cast<uint32_t>(identifier);
}

void LanguageDisplayName(const char16_t* value, bool installed, char16_t* name, size_t capacity) {
    const char16_t* afterComma = AfterLastComma(value);
    if (afterComma == nullptr) {
        CopyWide(name, capacity, value);
    } else if (installed) {
        const size_t length = static_cast<size_t>(afterComma - 1 - value);
        CopyWide(name, capacity < length + 1 ? capacity : length + 1, value);
    } else {
        CopyWide(name, capacity, afterComma);
    }
}

void ReadLanguages(char16_t (&tag)[kLanguageTagCapacity]) {
    const std::u16string listSection = std::u16string(u"LangCombo-") + tag;

    // More languages than the table holds: the first ones are offered.
    const int32_t count = menu.languageCount < 0 ? 0
                          : menu.languageCount > kMaxLanguages ? kMaxLanguages
                                                               : menu.languageCount;
    bool userLanguageOffered = false;
    bool tagOffered = false;
    const uint32_t userLanguage = UserPrimaryLanguage();
    InstalledLanguages installed;
    if (count > 0) installed.Enumerate();
    for (int32_t k = 0; k < count; ++k) {
        const std::string key = "language" + std::to_string(k + 1);
        const std::u16string wideKey(key.begin(), key.end());
        char16_t value[kIniValueCapacity];
        iniReader.GetString(u"Languages", wideKey.c_str(), u"", value);

        // An entry that is missing or holds no number counts as identifier 0.
        const uint32_t identifier = ReadIdentifier(value);
        FormatLanguageTag(identifier, menu.languageTags[k], kLanguageTagCapacity);
        if (EqualsFoldingAZ(menu.languageTags[k], tag)) tagOffered = true;

        iniReader.GetString(listSection.c_str(), menu.languageTags[k], u"", value);
        LanguageDisplayName(value, installed.Has(identifier), menu.languageNames[k], kLanguageNameCapacity);

        // The whole identifier against the user's primary language: 0x409 never matches.
        if ((identifier & 0xFFFF) == userLanguage) {
            menu.languageIndex = k;
            userLanguageOffered = true;
        }
    }
    menu.languageCount = count;

    // Without the user's language, the first entry is the default, and its
    // sections are read unless the tag asked for is itself offered.
    if (!userLanguageOffered) {
        menu.languageIndex = 0;
        if (count == 0) {
            tag[0] = 0;
        } else if (!tagOffered) {
            CopyWide(tag, menu.languageTags[0]);
        }
    }

    if (count > 1) {
        char16_t value[kIniValueCapacity];
        iniReader.GetString(listSection.c_str(), u"BtnRect", u"0,0,0,0", value);
        // The list moves with the scale; its size stays.
        const Rect given = ParseRect(value, false);
        Rect& box = menu.languageBoxRect;
        box = Scaled(given);
        box.right = SaturatingAdd(box.left, int64_t{given.right} - given.left);
        box.bottom = SaturatingAdd(box.top, int64_t{given.bottom} - given.top);
    }
}

bool IsLanguageInstalled(uint32_t identifier) {
    struct Search {
        uint32_t target;
        bool found;
    } search{identifier & kPrimaryLanguageMask, false};
    platform::EnumerateInstalledLocales(
        [](const char* locale, void* context) {
            auto* s = static_cast<Search*>(context);
            char16_t text[32] = u"0x";
            WidenAscii(text + 2, 30, locale);
            if ((ReadIdentifier(text) & kPrimaryLanguageMask) == s->target) s->found = true;
            return !s->found;
        },
        &search);
    return search.found;
}

UnsupportedLanguageText ReadUnsupportedLanguageText(bool fatal) {
    // The message comes in the user's own language, not the menu's.
    char16_t userTag[kLanguageTagCapacity];
    FormatLanguageTag(UserPrimaryLanguage(), userTag, kLanguageTagCapacity);
    const std::u16string section = std::u16string(u"LangCombo-") + userTag;
    UnsupportedLanguageText message;
    iniReader.GetString(section.c_str(), u"Error",
                        fatal ? u"This program cannot run because the requested\nlanguage is not supported on this system"
                              : u"The requested language is not supported on this system",
                        message.text);
    iniReader.GetString(section.c_str(), u"ErrTitle", u"Unsupported Language", message.caption);
    return message;
}
