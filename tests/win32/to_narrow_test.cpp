// ToNarrow through the real ANSI code page (1252 in the test prefix).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/text.h"

namespace {

TEST(ToNarrowWestern, UsesTheAnsiCodePage) {
    ASSERT_EQ(GetACP(), 1252u);
    char narrow[kNarrowCapacity];
    EXPECT_STREQ(ToNarrow(narrow, u"Stra\u00DFe \u00E9t\u00E9"), "Stra\xDF" "e \xE9t\xE9");
    EXPECT_STREQ(ToNarrow(narrow, u""), "");
}

TEST(ToNarrowWestern, ACharacterTheCodePageLacksBecomesItsDefaultCharacter) {
    char narrow[kNarrowCapacity];
    EXPECT_STREQ(ToNarrow(narrow, u"a\u65E5b"), "a?b");
}

TEST(ToNarrowWestern, ALongTextIsCutTo255Bytes) {
    char narrow[kNarrowCapacity];
    std::memset(narrow, 'x', sizeof narrow);
    ToNarrow(narrow, std::u16string(400, u'w').c_str());
    EXPECT_EQ(std::strlen(narrow), 255u);
    EXPECT_EQ(std::string(narrow), std::string(255, 'w'));
}

}  // namespace
