#pragma once
// What the subjects of the disc check share: the disc, the settings, the
// findings so far, and the facts one subject settles for the others.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "check/check_settings.h"
#include "check/code_pages.h"
#include "check/disc_files.h"
#include "check/findings.h"
#include "platform/types.h"

// The keys the menu reads in one section, as it names them.
struct ReadSection {
    std::u16string name;
    std::vector<std::u16string> keys;
    bool Reads(const std::u16string& key) const;
};

// A file or folder that the menu, its pictures or autorun.inf cannot do
// without, and the key that names it: the disc's format must keep its name.
struct DiscNeed {
    std::u16string path;  // as the key writes it, relative to the disc's root
    std::string key;      // "Path", "BitmapFile256", "open=" ...
    std::string file;     // the file the key is in
    int32_t line;
};

struct CheckContext {
    CheckContext(const std::filesystem::path& folder, const CheckSettings& settings)
        : disc(folder), settings(settings) {}

    // On a line of install.ini.
    void Error(int32_t line, const std::string& message, const std::string& hint = "");
    void Warning(int32_t line, const std::string& message, const std::string& hint = "");
    void Note(int32_t line, const std::string& message, const std::string& hint = "");
    // On a line of `file`, or about that file of the disc.
    void Report(Severity severity, const std::string& file, int32_t line, const std::string& message,
                const std::string& hint = "");

    // The system a language's texts are meant for: the one --lang names, or
    // else one set up for that language.
    LanguageSystem SystemFor(uint16_t language) const;

    DiscFolder disc;
    const CheckSettings& settings;
    std::vector<Finding> findings;
    int32_t generalLine = 0;  // the [General] header's
    int32_t buttonCount = 0;
    int32_t languageCount = 0;
    Size bitmapSize{0, 0};  // the picture's, once found
    // What the menu's runs read, by folded section name.
    std::map<std::u16string, ReadSection> readSections;
    std::vector<DiscNeed> needs;
};
