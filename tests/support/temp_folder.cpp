#include "support/temp_folder.h"

#include <windows.h>

#include <stdexcept>

namespace {

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(folder + name + "\\");
            } else {
                DeleteFileA((folder + name).c_str());
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

TempFolder::TempFolder() {
    static int count = 0;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    path = std::string(temp) + "tessaline-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count) +
           "-" + std::to_string(GetTickCount()) + "\\";
    if (!CreateDirectoryA(path.c_str(), nullptr)) throw std::runtime_error("cannot create " + path);
}

TempFolder::~TempFolder() {
    RemoveTree(path);
}

namespace {

// Creates the sub-folders a relative file name passes through.
void CreateFoldersFor(const std::string& root, const std::string& name) {
    for (size_t slash = name.find('\\'); slash != std::string::npos; slash = name.find('\\', slash + 1)) {
        CreateDirectoryA((root + name.substr(0, slash)).c_str(), nullptr);
    }
}

}  // namespace

std::string TempFolder::Write(const std::string& name, const std::string& bytes) const {
    const std::string file = path + name;
    CreateFoldersFor(path, name);
    HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + file);
    DWORD written = 0;
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(handle);
    return file;
}

std::string TempFolder::CreateSubfolder(const std::string& name) const {
    CreateDirectoryA((path + name).c_str(), nullptr);
    return path + name + "\\";
}

std::string TempFolder::CopyIn(const std::string& source, const std::string& name) const {
    const std::string target = path + name;
    CreateFoldersFor(path, name);
    if (!CopyFileA(source.c_str(), target.c_str(), FALSE)) throw std::runtime_error("cannot copy " + source);
    return target;
}

bool TempFolder::Exists(const std::string& name) const {
    return GetFileAttributesA((path + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string OwnFolder() {
    char own[MAX_PATH];
    GetModuleFileNameA(nullptr, own, MAX_PATH);
    std::string folder = own;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}
