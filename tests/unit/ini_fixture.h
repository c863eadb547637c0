#pragma once
// Writes install.ini texts into a private temporary folder for the reader.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "config/ini_reader.h"
#include "support/fixture_bytes.h"

class IniFixture {
public:
    IniFixture() {
        char pattern[] = "/tmp/tessaline-unit-XXXXXX";
        folder = mkdtemp(pattern);
    }
    ~IniFixture() {
        std::string command = "rm -rf '" + folder + "'";
        if (std::system(command.c_str()) != 0) std::perror("cleanup");
    }

    // Writes the bytes as they are into the folder; returns the file's path.
    std::string WriteBytes(const std::string& name, const std::string& bytes) const {
        const std::string path = folder + "/" + name;
        FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        return path;
    }

    std::string WriteIni(const std::u16string& text, const std::string& name = "install.ini") const {
        return WriteBytes(name, fixture::Utf16Le(text));
    }

    std::string folder;
};

// A value read into a 256-unit buffer, for comparisons.
inline std::u16string Lookup(UnicodeIniReader& reader, const char16_t* section, const char16_t* key,
                             const char16_t* fallback = u"<default>") {
    char16_t out[kIniValueCapacity];
    reader.GetString(section, key, fallback, out);
    return out;
}
