#pragma once
// The files of a disc folder, found as the menu's programs and pictures name
// them: relative to the disc's root, with backslashes, letter case ignored
// as Windows ignores it.

#include <filesystem>
#include <string>
#include <vector>

// The optional list of files that the disc build adds later (built programs,
// for example), beside install.ini: one disc path per line, UTF-8; empty
// lines and lines starting with # are ignored.
constexpr const char* kBuildAddsFile = "tessaline-check-adds.txt";

// A picture name the menu can never find on the disc: a drive ("C:..."), a
// root ("\..." or "/...") or a network share. Picture names are used as
// written, not joined to the disc's folder.
bool IsAbsoluteDiscPath(const std::string& path);

// What a program path names when it is not on the disc: the menu puts its
// folder in front of every program, so "\setup.exe" is a file of the disc
// (D:\\setup.exe, which Windows opens), and only a drive or a share is not.
enum class ProgramPlace { kDisc, kDrive, kNetworkShare };
ProgramPlace PlaceOfProgram(const std::string& path);

class DiscFolder {
public:
    explicit DiscFolder(std::filesystem::path folder);

    const std::filesystem::path& Root() const { return root; }

    // The file or folder that the disc path names, or empty when there is none.
    std::filesystem::path Find(const std::string& discPath) const;

    // Listed in the build's list of files it adds.
    bool AddedByBuild(const std::string& discPath) const;

    // On the disc, or added by its build.
    bool Holds(const std::string& discPath) const { return !Find(discPath).empty() || AddedByBuild(discPath); }

private:
    std::filesystem::path root;
    std::vector<std::string> added;  // normalised
};
