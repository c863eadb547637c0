// ToNarrow under a double-byte code page: run with the Japanese user locale
// (ANSI code page 932).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

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

TEST(ToNarrowDoubleByte, ShortTextsConvertWhole) {
    char narrow[kNarrowCapacity];
    EXPECT_STREQ(ToNarrow(narrow, u"\u65E5\u672C"), "\x93\xFA\x96\x7B");
}

}  // namespace
