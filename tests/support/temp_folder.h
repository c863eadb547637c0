#pragma once
// A private folder under the Windows temporary folder, removed with all it
// holds when the test ends.

#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, ending with a backslash.
    const std::string& Path() const { return path; }

    // Writes the bytes to a file of the folder (sub-folders are created);
    // returns its full path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    std::string CreateSubfolder(const std::string& name) const;
    // Copies a file into the folder; returns the copy's path.
    std::string CopyIn(const std::string& source, const std::string& name) const;
    bool Exists(const std::string& name) const;

private:
    std::string path;
};

// The folder of the running test program, ending with a backslash.
std::string OwnFolder();
