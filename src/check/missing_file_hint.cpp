#include "check/missing_file_hint.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "check/ini_text.h"
#include "config/wide_text.h"

namespace fs = std::filesystem;

namespace {

// Programs of Windows itself, which a disc's path never reaches: the menu
// puts the disc's folder in front of every program.
const char* const kWindowsPrograms[] = {
    "msiexec.exe", "cmd.exe",      "command.com", "notepad.exe",  "explorer.exe", "rundll32.exe",
    "regedit.exe", "regsvr32.exe", "control.exe", "hh.exe",       "write.exe",    "wordpad.exe",
    "mspaint.exe", "iexplore.exe", "wscript.exe", "cscript.exe",  "powershell.exe",
};

bool StartsWithFolding(const std::string& text, const char* prefix) {
    return EqualsFoldingAZ(text.substr(0, std::strlen(prefix)).c_str(), prefix);
}

bool IsWebAddress(const std::string& path) {
    return path.find("://") != std::string::npos || StartsWithFolding(path, "www.") ||
           StartsWithFolding(path, "mailto:");
}

bool IsWindowsProgram(const std::string& path) {
    for (const char* program : kWindowsPrograms) {
        if (EqualsFoldingAZ(path.c_str(), program)) return true;
    }
    return false;
}

// Every file of the disc as a disc path with backslashes, up to a bound.
std::vector<std::u16string> DiscFiles(const fs::path& root) {
    constexpr size_t kMostFiles = 20000;
    std::vector<std::u16string> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, error), end; !error && it != end && files.size() < kMostFiles;
         it.increment(error)) {
        if (!it->is_regular_file(error)) continue;
        std::string relative = it->path().lexically_relative(root).string();
        for (char& c : relative) {
            if (c == '/') c = '\\';
        }
        files.push_back(Widen(relative));
    }
    return files;
}

}  // namespace

std::string MissingFileHint(const DiscFolder& disc, const std::string& discPath, bool addable) {
    if (discPath.size() >= 2 && (discPath.front() == '"' || discPath.back() == '"')) {
        return "the menu puts the program in double quotes itself: write the path without them";
    }
    if (IsWebAddress(discPath)) {
        return "a web address is no file of the disc, and the menu opens only files of the disc: a page on the disc "
               "(an .htm file) opens in the browser";
    }
    if (IsWindowsProgram(discPath)) {
        return discPath + " is a program of Windows, and the menu starts only files of the disc: name the file it "
                          "should open (an .msi, for example) in Path, and Windows opens it with its program";
    }
    // A name one or two edits from a file of the disc is taken for a typing
    // mistake; further off, for a file that is not there yet.
    const std::u16string wanted = Widen(discPath);
    const std::vector<std::u16string> files = DiscFiles(disc.Root());
    const std::u16string nearest = Nearest(wanted, files);
    if (!nearest.empty() && EditDistance(wanted, nearest) <= std::max<size_t>(2, wanted.size() / 8)) {
        return "nearest file on the disc: " + Narrow(nearest);
    }
    return addable ? std::string("list files that the disc build adds in ") + kBuildAddsFile : std::string();
}
