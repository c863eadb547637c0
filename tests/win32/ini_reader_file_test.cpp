// The reader through the real file API under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "config/ini_reader.h"
#include "support/fixture_bytes.h"
#include "support/temp_folder.h"

namespace {

std::string FailureOf(UnicodeIniReader& reader, const std::string& path) {
    try {
        static_cast<void>(reader.Load(path.c_str()));
    } catch (const IniLoadFailure& failure) {
        return failure.what();
    }
    return "<no failure>";
}

std::u16string Value(UnicodeIniReader& reader, const char16_t* section, const char16_t* key) {
    char16_t out[kIniValueCapacity];
    reader.GetString(section, key, u"<default>", out);
    return out;
}

TEST(IniReaderFiles, AMissingFileNamesItsPathAfterTwoBlanks) {
    TempFolder folder;
    UnicodeIniReader reader;
    const std::string path = folder.Path() + "install.ini";
    EXPECT_EQ(FailureOf(reader, path), "Error opening file:  " + path);
}

TEST(IniReaderFiles, OtherEncodingsAndTinyFilesAreTheWrongType) {
    TempFolder folder;
    UnicodeIniReader reader;
    const std::pair<const char*, std::string> files[] = {
        {"utf8.ini", "\xEF\xBB\xBF[General]\r\n"},
        {"utf16be.ini", std::string("\xFE\xFF\0[\0G", 6)},
        {"zero.ini", ""},
        {"one.ini", "\xFF"},
    };
    for (const auto& [name, bytes] : files) {
        const std::string path = folder.Write(name, bytes);
        EXPECT_EQ(FailureOf(reader, path), "Wrong file type (Must be Little Endian Unicode): '" + path + "'!") << name;
    }
}

TEST(IniReaderFiles, AFileThatAnotherProgramReadsStillLoads) {
    TempFolder folder;
    const std::string path = folder.Write("install.ini", fixture::Utf16Le(u"[General]\r\nAppName=Shared\r\n"));
    HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    UnicodeIniReader reader;
    EXPECT_TRUE(reader.Load(path.c_str()));
    EXPECT_EQ(Value(reader, u"General", u"AppName"), u"Shared");
    CloseHandle(other);
}

TEST(IniReaderFiles, LoadingTheSamePathInOtherCaseReadsNothing) {
    TempFolder folder;
    const std::string path = folder.Write("install.ini", fixture::Utf16Le(u"[A]\r\nk=first\r\n"));
    UnicodeIniReader reader;
    ASSERT_TRUE(reader.Load(path.c_str()));
    folder.Write("install.ini", fixture::Utf16Le(u"[A]\r\nk=second\r\n"));
    std::string upper = path;
    CharUpperA(upper.data());
    EXPECT_TRUE(reader.Load(upper.c_str()));
    EXPECT_EQ(Value(reader, u"A", u"k"), u"first");
}

TEST(IniReaderFiles, AFolderCannotBeOpenedAsAFile) {
    TempFolder folder;
    UnicodeIniReader reader;
    const std::string sub = folder.CreateSubfolder("install.ini");
    const std::string path = sub.substr(0, sub.size() - 1);
    EXPECT_EQ(FailureOf(reader, path), "Error opening file:  " + path);
}

}  // namespace
