#include "check/disc_files.h"

#include <cctype>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

std::string FoldAscii(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::vector<std::string> Components(const std::string& discPath) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : discPath) {
        if (IsSeparator(c)) {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

// Separators as "/", letter case folded, "." steps dropped.
std::string Normalised(const std::string& discPath) {
    std::string result;
    for (const std::string& part : Components(discPath)) {
        if (part == ".") continue;
        if (!result.empty()) result += "/";
        result += FoldAscii(part);
    }
    return result;
}

// The entry of `folder` named `name`, matched without regard to letter case
// when no entry has exactly that name.
fs::path FindEntry(const fs::path& folder, const std::string& name) {
    std::error_code error;
    const fs::path exact = folder / name;
    if (fs::exists(exact, error)) return exact;
    const std::string folded = FoldAscii(name);
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (FoldAscii(it->path().filename().string()) == folded) return it->path();
    }
    return fs::path();
}

}  // namespace

bool IsAbsoluteDiscPath(const std::string& path) {
    if (!path.empty() && IsSeparator(path[0])) return true;
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

ProgramPlace PlaceOfProgram(const std::string& path) {
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return ProgramPlace::kNetworkShare;
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        return ProgramPlace::kDrive;
    }
    return ProgramPlace::kDisc;
}

DiscFolder::DiscFolder(fs::path folder) : root(std::move(folder)) {
    std::ifstream list(root / kBuildAddsFile);
    for (std::string line; std::getline(list, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
        size_t start = 0;
        while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
        line.erase(0, start);
        if (line.empty() || line[0] == '#') continue;
        added.push_back(Normalised(line));
    }
}

fs::path DiscFolder::Find(const std::string& discPath) const {
    fs::path at = root;
    for (const std::string& part : Components(discPath)) {
        if (part == ".") continue;
        at = part == ".." ? at / ".." : FindEntry(at, part);
        if (at.empty()) return at;
    }
    std::error_code error;
    return fs::exists(at, error) ? at : fs::path();
}

bool DiscFolder::AddedByBuild(const std::string& discPath) const {
    const std::string wanted = Normalised(discPath);
    for (const std::string& entry : added) {
        if (entry == wanted) return true;
    }
    return false;
}
