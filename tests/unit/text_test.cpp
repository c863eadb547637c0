#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/wide_text.h"
#include "platform/text.h"

namespace {

TEST(WideText, CopiesAreBoundedAndTerminated) {
    char16_t small[4];
    CopyWide(small, u"abcdef");
    EXPECT_EQ(std::u16string(small), u"abc");
    CopyWide(small, nullptr);
    EXPECT_EQ(std::u16string(small), u"");
    AppendWide(small, 4, u"xy");
    AppendWide(small, 4, u"zw");
    EXPECT_EQ(std::u16string(small), u"xyz");
}

TEST(WideText, ACutNeverSplitsASurrogatePair) {
    char16_t small[3];
    CopyWide(small, u"a\U0001F600b");
    EXPECT_EQ(std::u16string(small), u"a");
}

TEST(WideText, FoldingTouchesOnlyAToZ) {
    EXPECT_TRUE(EqualsFoldingAZ(u"General", u"gENERAL"));
    EXPECT_FALSE(EqualsFoldingAZ(u"\u00C4", u"\u00E4"));
    EXPECT_FALSE(EqualsFoldingAZ(u"Gen", u"General"));
    EXPECT_TRUE(EqualsFoldingAZ("C:\\Disc\\install.ini", "c:\\DISC\\INSTALL.INI"));
}

TEST(ToNarrowHost, ConvertsToUtf8) {
    char narrow[kNarrowCapacity];
    EXPECT_STREQ(ToNarrow(narrow, u"Ma\u00DFe \u65E5 \U0001F600"), "Ma\xC3\x9F" "e \xE6\x97\xA5 \xF0\x9F\x98\x80");
    EXPECT_STREQ(ToNarrow(narrow, u""), "");
    EXPECT_STREQ(ToNarrow(narrow, u"lone \xD800 half"), "lone ? half");
}

TEST(ToNarrowHost, ALongTextIsCutAtACharacterBoundaryWithin255Bytes) {
    char narrow[kNarrowCapacity];
    ToNarrow(narrow, std::u16string(300, u'a').c_str());
    EXPECT_EQ(std::strlen(narrow), 255u);
    // Three-byte characters: 85 of them fill exactly 255 bytes.
    ToNarrow(narrow, std::u16string(100, u'\u65E5').c_str());
    EXPECT_EQ(std::strlen(narrow), 255u);
    // One ASCII character first: the 85th three-byte character no longer fits.
    ToNarrow(narrow, (u"a" + std::u16string(100, u'\u65E5')).c_str());
    EXPECT_EQ(std::strlen(narrow), 253u);
    EXPECT_EQ(static_cast<unsigned char>(narrow[252]), 0xA5);
}

}  // namespace
