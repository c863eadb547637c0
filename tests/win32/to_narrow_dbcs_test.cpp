// ToNarrow under a double-byte code page: run with the Japanese user locale
// (ANSI code page 932).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/startup_rules.h"
#include "platform/text.h"

namespace {

TEST(ToNarrowDoubleByte, ACutNeverSplitsADoubleByteCharacter) {
    ASSERT_EQ(GetACP(), 932u) << "run with LC_ALL=ja_JP.UTF-8";
    char narrow[kNarrowCapacity];

    // U+65E5 is two bytes (93 FA); 127 of them fill 254 bytes and the 128th does not fit.
    ToNarrow(narrow, std::u16string(200, u'\u65E5').c_str());
    ASSERT_EQ(std::strlen(narrow), 254u);
    EXPECT_EQ(static_cast<unsigned char>(narrow[252]), 0x93);
    EXPECT_EQ(static_cast<unsigned char>(narrow[253]), 0xFA);

    // One single-byte character first: 1 + 127 * 2 = 255 bytes exactly.
    ToNarrow(narrow, (u"a" + std::u16string(200, u'\u65E5')).c_str());
    EXPECT_EQ(std::strlen(narrow), 255u);
    EXPECT_EQ(static_cast<unsigned char>(narrow[254]), 0xFA);
}

// 0x95 0x5C is one character (U+8868) whose second byte has the value of a
// backslash: the program folder ends at the last backslash character.
TEST(ProgramFolderDoubleByte, IsCutAtTheLastBackslashCharacterNotAtASecondByte) {
    ASSERT_EQ(GetACP(), 932u) << "run with LC_ALL=ja_JP.UTF-8";
    const struct {
        const char* path;
        const char* folder;  // null: no backslash character
    } cases[] = {{"C:\\Disc\\\x95\x5C.exe", "C:\\Disc\\"},
                 {"C:\\\x95\x5C\\setup\\\x95\x5C", "C:\\\x95\x5C\\setup\\"},
                 {"\x95\x5C.exe", nullptr}};
    for (const auto& c : cases) {
        char path[260];
        std::strcpy(path, c.path);
        EXPECT_EQ(CutAfterLastBackslash(path), c.folder != nullptr) << c.path;
        EXPECT_STREQ(path, c.folder != nullptr ? c.folder : c.path);
    }
}

TEST(ToNarrowDoubleByte, ShortTextsConvertWhole) {
    char narrow[kNarrowCapacity];
    EXPECT_STREQ(ToNarrow(narrow, u"\u65E5\u672C"), "\x93\xFA\x96\x7B");
}

}  // namespace
