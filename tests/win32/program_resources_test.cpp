// What the built programs carry for Windows, read back from the files: the
// machine they are built for, the manifest's architecture (a 64-bit program
// whose manifest asks for the x86 common controls is refused by Windows) and
// the version resource that Explorer and deployment tools show.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "support/temp_folder.h"
#include "tessaline_version.h"

namespace {

#ifdef _WIN64
constexpr WORD kMachine = IMAGE_FILE_MACHINE_AMD64;
constexpr const char* kArchitecture = "amd64";
constexpr const char* kBits = "(64-bit)";
#else
constexpr WORD kMachine = IMAGE_FILE_MACHINE_I386;
constexpr const char* kArchitecture = "x86";
constexpr const char* kBits = "(32-bit)";
#endif

struct Program {
    const char* file;
    const char* description;
};
const Program kPrograms[] = {
    {"tessaline.exe", "Tessaline disc launch menu "},
    {"tessaline-check.exe", "Tessaline disc checker "},
};

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

WORD MachineOf(const std::string& image) {
    if (image.size() < 0x40) return 0;
    DWORD peOffset = 0;
    memcpy(&peOffset, image.data() + 0x3C, sizeof peOffset);
    if (peOffset > image.size() - 6 || image.compare(peOffset, 4, std::string("PE\0\0", 4)) != 0) return 0;
    WORD machine = 0;
    memcpy(&machine, image.data() + peOffset + 4, sizeof machine);
    return machine;
}

std::string VersionString(const std::string& block, const char* name) {
    const std::string query = "\\StringFileInfo\\040904B0\\" + std::string(name);
    char* value = nullptr;
    UINT length = 0;
    std::string copy = block;
    if (!VerQueryValueA(copy.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) || length == 0) {
        return "(missing)";
    }
    return std::string(value, strnlen(value, length));
}

TEST(ProgramResources, EveryProgramIsBuiltForThisBuildsMachine) {
    for (const Program& program : kPrograms) {
        EXPECT_EQ(MachineOf(ReadWhole(OwnFolder() + program.file)), kMachine) << program.file;
    }
}

TEST(ProgramResources, TheManifestNamesThisBuildsArchitectureAndTheCommonControls) {
    HMODULE module = LoadLibraryExA((OwnFolder() + "tessaline.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    const std::string manifest(bytes, SizeofResource(module, found));
    FreeLibrary(module);

    const std::regex attribute("processorArchitecture=\"([^\"]*)\"");
    int seen = 0;
    for (auto it = std::sregex_iterator(manifest.begin(), manifest.end(), attribute); it != std::sregex_iterator();
         ++it, ++seen) {
        EXPECT_EQ((*it)[1].str(), kArchitecture);
    }
    EXPECT_EQ(seen, 2) << "the program's own identity and the common controls dependency";
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("version=\"" TESSALINE_VERSION_TEXT ".0\""), std::string::npos);

    // Windows XP refuses a manifest whose trustInfo is in any namespace but
    // asm.v2, and one that names a namespace it does not know for it.
    EXPECT_NE(manifest.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v2\">"), std::string::npos);
    const std::regex name("xmlns=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(manifest.begin(), manifest.end(), name); it != std::sregex_iterator(); ++it) {
        const std::string space = (*it)[1].str();
        EXPECT_TRUE(space == "urn:schemas-microsoft-com:asm.v1" || space == "urn:schemas-microsoft-com:asm.v2" ||
                    space == "urn:schemas-microsoft-com:compatibility.v1")
            << space;
    }
}

TEST(ProgramResources, EveryProgramCarriesTheProjectsVersion) {
    for (const Program& program : kPrograms) {
        SCOPED_TRACE(program.file);
        const std::string path = OwnFolder() + program.file;
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
        ASSERT_GT(size, 0u);
        std::string block(size, '\0');
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
        const DWORD major = TESSALINE_VERSION_MAJOR, minor = TESSALINE_VERSION_MINOR;
        const DWORD patch = TESSALINE_VERSION_PATCH;
        EXPECT_EQ(fixed->dwFileVersionMS, (major << 16) | minor);
        EXPECT_EQ(fixed->dwFileVersionLS, patch << 16);
        EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
        EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
        EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

        const std::string version = std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
        EXPECT_EQ(VersionString(block, "FileVersion"), version);
        EXPECT_EQ(VersionString(block, "ProductVersion"), version);
        EXPECT_EQ(VersionString(block, "ProductName"), "Tessaline");
        EXPECT_EQ(VersionString(block, "FileDescription"), std::string(program.description) + kBits);
        EXPECT_EQ(VersionString(block, "OriginalFilename"), program.file);
        EXPECT_EQ(VersionString(block, "LegalCopyright").rfind("Copyright (C) ", 0), 0u);
    }
}

}  // namespace
