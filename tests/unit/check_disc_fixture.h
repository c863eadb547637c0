#pragma once
// A disc folder for the checker's tests: install.ini written from lines
// (line n of the file is element n - 1, so every line number a test expects
// is visible in it) and the files it names.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/fixture_bytes.h"

class TestDisc {
public:
    TestDisc() {
        char pattern[] = "/tmp/tessaline-check-XXXXXX";
        folder = mkdtemp(pattern);
    }
    ~TestDisc() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    TestDisc(const TestDisc&) = delete;
    TestDisc& operator=(const TestDisc&) = delete;

    const std::filesystem::path& Folder() const { return folder; }

    // `name` relative to the disc, with / between folders.
    void Write(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path path = folder / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    void Remove(const std::string& name) const {
        std::error_code ignored;
        std::filesystem::remove(folder / name, ignored);
    }

    bool Exists(const std::string& name) const {
        std::error_code ignored;
        return std::filesystem::exists(folder / name, ignored);
    }

    void WriteIni(const std::vector<std::u16string>& lines) const {
        std::u16string text;
        for (const std::u16string& line : lines) text += line + u"\r\n";
        Write("install.ini", fixture::Utf16Le(text));
    }

private:
    std::filesystem::path folder;
};
