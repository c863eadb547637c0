#include <gtest/gtest.h>

#include <string>

#include "config/menu_model.h"
#include "config/wide_text.h"
#include "launch/launch_conditions.h"

namespace {

class LaunchConditions : public ::testing::Test {
protected:
    void SetUp() override { menu = Menu{}; }
    void TearDown() override { menu = Menu{}; }

    // Button 1 with a preparatory program under the condition.
    bool Allowed(const char16_t* condition, int32_t kind, int32_t version) {
        menu.osKind = kind;
        menu.osVersion = version;
        CopyWide(menu.buttons[0].preRun, u"pre.exe");
        CopyWide(menu.buttons[0].preCond, condition);
        return PreRunAllowed(0);
    }
};

TEST_F(LaunchConditions, TheConditionTable) {
    const struct {
        const char16_t* condition;
        int32_t kind;
        int32_t version;
        bool allowed;
    } cases[] = {
        {u"nt,500,0", 4, 501, true},
        {u"nt,500,0", 1, 410, false},
        {u"all,500,500", 1, 500, true},
        {u"all,500,500", 5, 500, true},
        {u"all,500,500", 0, 501, false},
        {u"all,500,500", 4, 501, false},
        {u"NT,500", 3, 600, true},
        {u"9x,0,410", 1, 400, true},
        {u"9x,0,410", 1, 490, false},
        {u"xp,0,0", 1, 410, true},
        {u"xp,0,0", 0, 0, true},
        {u"xp,0,0", 5, 1000, true},
        {u" nt,0,0", 1, 410, true},
        {u"srv,0,0", 0, 0, false},
        {u"all,0,0", 0, 0, true},
        {u"pro,5.1,0", 4, 400, true},
        {u"", 1, 410, true},
        {u"", 0, 0, true},
        {u"", 4, 1000, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Allowed(c.condition, c.kind, c.version), c.allowed)
            << std::string(c.condition, c.condition + WideLength(c.condition)) << " kind " << c.kind << " version "
            << c.version;
    }
}

TEST_F(LaunchConditions, EachOsWordAcceptsItsKindsOnly) {
    // Kinds 0 (unknown), 1 (9x), 3 (personal), 4 (professional), 5 (server).
    const int32_t kinds[] = {0, 1, 3, 4, 5};
    const struct {
        const char* word;
        bool accepts[5];
    } words[] = {
        {"9x", {false, true, false, false, false}},   {"nt", {false, false, true, true, true}},
        {"pers", {false, false, true, false, false}}, {"pro", {false, false, false, true, false}},
        {"srv", {false, false, false, false, true}},  {"all", {true, true, true, true, true}},
        {"9X", {false, true, false, false, false}},   {"ALL", {true, true, true, true, true}},
        // Only "all" and "9x" are read without regard to case: these are
        // words outside the table.
        {"NT", {true, true, true, true, true}},       {"Pers", {true, true, true, true, true}},
        {"pRO", {true, true, true, true, true}},      {"Srv", {true, true, true, true, true}},
        {"", {true, true, true, true, true}},
        {"nt ", {true, true, true, true, true}},      {"server", {true, true, true, true, true}},
    };
    for (const auto& w : words) {
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(ConditionBlocks(kinds[k], 600, w.word, "", ""), !w.accepts[k])
                << '"' << w.word << "\" kind " << kinds[k];
        }
    }
}

TEST_F(LaunchConditions, TheVersionRangeIsInclusiveAndAMaximumOfZeroIsOpen) {
    const struct {
        const char* minimum;
        const char* maximum;
        bool blocks;
    } cases[] = {
        {"501", "501", false}, {"502", "0", true},   {"500", "500", true}, {"0", "0", false},
        {"", "", false},       {"-5", "-1", true},   {"0", "99999", false}, {"600", "400", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ConditionBlocks(kOsProfessional, 501, "all", c.minimum, c.maximum), c.blocks)
            << c.minimum << ".." << c.maximum;
    }
    // An unclassified system has version 0, which any positive minimum excludes.
    EXPECT_TRUE(ConditionBlocks(kOsUnknown, 0, "all", "1", "0"));
    EXPECT_FALSE(ConditionBlocks(kOsUnknown, 0, "xp", "0", "0"));
    // A negative version (never produced, but representable) falls below an empty minimum.
    EXPECT_TRUE(ConditionBlocks(kOsUnknown, -1, "", "", ""));
}

TEST(ConditionInteger, ReadsLeadingSpaceSignAndDigitsUpToTheFirstOther) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"500", 500},     {" 500", 500},       {"\t\n 42", 42},      {"5.1", 5},
        {"", 0},          {"abc", 0},          {"12abc", 12},        {"+7", 7},
        {"-7", -7},       {"- 7", 0},          {"+-7", 0},           {"007", 7},
        {"0x10", 0},      {"500 ", 500},       {"2147483647", 2147483647},
        {"4294967297", 1},  // no overflow check: digits past 32 bits wrap around
    };
    for (const auto& c : cases) EXPECT_EQ(ReadConditionInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(ConditionSplit, FieldsAreTakenFromTheLeftAndMissingOnesAreEmpty) {
    const struct {
        const char* condition;
        const char* word;
        const char* minimum;
        const char* maximum;
    } cases[] = {
        {"nt,500,0", "nt", "500", "0"},
        {"nt,500", "nt", "500", ""},
        {"nt", "nt", "", ""},
        {"", "", "", ""},
        {",,", "", "", ""},
        {"a,b,c,d,e", "a", "b", "c"},
        {" nt , 500 ,0", " nt ", " 500 ", "0"},
        {",600", "", "600", ""},
    };
    for (const auto& c : cases) {
        ConditionFields fields;
        SplitCondition(c.condition, &fields);
        EXPECT_STREQ(fields.osWord, c.word) << c.condition;
        EXPECT_STREQ(fields.minimum, c.minimum) << c.condition;
        EXPECT_STREQ(fields.maximum, c.maximum) << c.condition;
    }
}

TEST_F(LaunchConditions, TextAfterAThirdCommaIsIgnored) {
    EXPECT_TRUE(Allowed(u"pro,500,600,700", kOsProfessional, 600));
    EXPECT_FALSE(Allowed(u"pro,500,600,700", kOsProfessional, 650));
}

TEST_F(LaunchConditions, WithoutPreRunOrPreArgsNothingIsAllowed) {
    menu.osKind = kOsProfessional;
    menu.osVersion = 501;
    Button& button = menu.buttons[2];
    CopyWide(button.preCond, u"all,0,0");
    EXPECT_FALSE(PreRunAllowed(2)) << "no preparatory step at all";
    CopyWide(button.preArgs, u"/x");
    EXPECT_TRUE(PreRunAllowed(2)) << "arguments without a program count as a step";
    CopyWide(button.preArgs, u"");
    CopyWide(button.preRun, u"pre.exe");
    EXPECT_TRUE(PreRunAllowed(2));
    CopyWide(button.preCond, u"9x,0,0");
    EXPECT_FALSE(PreRunAllowed(2));
}

TEST_F(LaunchConditions, AnIndexOutsideTheTableIsNeverAllowed) {
    CopyWide(menu.buttons[0].preRun, u"pre.exe");
    EXPECT_FALSE(PreRunAllowed(-1));
    EXPECT_FALSE(PreRunAllowed(kMaxButtons));
}

TEST_F(LaunchConditions, AConditionLongerThanTheBufferIsCutNotOverrun) {
    // 260 spaces after the minimum: the maximum falls beyond the 255 bytes
    // kept, so only the word and the minimum count.
    const std::u16string longCondition = u"nt,600" + std::u16string(260, u' ') + u",700";
    CopyWide(menu.buttons[0].preRun, u"pre.exe");
    EXPECT_FALSE(Allowed(longCondition.c_str(), kOsProfessional, 501));
    EXPECT_TRUE(Allowed(longCondition.c_str(), kOsProfessional, 1000));
}

SystemFacts NtFacts(const char* productType, size_t size, uint32_t major = 5, uint32_t minor = 1) {
    return SystemFacts{true, kPlatformNt, major, minor, true, productType, size};
}

TEST(Classification, TheProductTypeIsComparedExactly) {
    const struct {
        std::string bytes;  // as read from the registry, terminator included where stored
        int32_t kind;
    } cases[] = {
        {std::string("servernt", 9), kOsServer},
        {std::string("lanmannt", 9), kOsServer},
        {std::string("personal", 9), kOsPersonal},
        {std::string("WinNT", 6), kOsProfessional},
        {std::string("ServerNT", 9), kOsProfessional},
        {std::string("LanmanNT", 9), kOsProfessional},
        {std::string("Personal", 9), kOsProfessional},
        {std::string("servernt ", 10), kOsProfessional},
        {std::string("server", 7), kOsProfessional},
        {std::string("", 1), kOsProfessional},
        {std::string(), kOsProfessional},
        // Stored without a terminator: the text ends with the bytes read.
        {std::string("servernt", 8), kOsServer},
        {std::string("personalX", 8), kOsPersonal},
        // A multi-string value: the first text counts.
        {std::string("personal\0extra\0", 15), kOsPersonal},
    };
    for (const auto& c : cases) {
        int32_t kind = -1;
        int32_t version = -1;
        ClassifySystem(NtFacts(c.bytes.data(), c.bytes.size()), &kind, &version);
        EXPECT_EQ(kind, c.kind) << '"' << c.bytes << '"';
        EXPECT_EQ(version, 501);
    }
}

TEST(Classification, VersionIsMajorTimesHundredPlusMinor) {
    const struct {
        SystemFacts facts;
        int32_t kind;
        int32_t version;
    } cases[] = {
        {NtFacts("WinNT", 6, 6, 1), kOsProfessional, 601},
        {NtFacts("WinNT", 6, 10, 0), kOsProfessional, 1000},
        {NtFacts("WinNT", 6, 4, 0), kOsProfessional, 400},
        {SystemFacts{true, 1, 4, 10, false, nullptr, 0}, kOs9x, 410},
        {SystemFacts{true, 1, 4, 0, false, nullptr, 0}, kOs9x, 400},
        {SystemFacts{true, 0, 3, 11, false, nullptr, 0}, kOs9x, 311},
    };
    for (const auto& c : cases) {
        int32_t kind = -1;
        int32_t version = -1;
        ClassifySystem(c.facts, &kind, &version);
        EXPECT_EQ(kind, c.kind) << c.version;
        EXPECT_EQ(version, c.version);
    }
}

TEST(Classification, AnUnreadableProductTypeLeavesTheKindUnknownAndTheVersionUnwritten) {
    int32_t kind = -1;
    int32_t version = 77;
    ClassifySystem(SystemFacts{true, kPlatformNt, 6, 1, false, nullptr, 0}, &kind, &version);
    EXPECT_EQ(kind, kOsUnknown);
    EXPECT_EQ(version, 77);
}

TEST(Classification, TheNineXFamilyNeedsNoProductType) {
    int32_t kind = -1;
    int32_t version = -1;
    // Whatever a 9x system might have under that name is not looked at.
    ClassifySystem(SystemFacts{true, 1, 4, 10, true, "servernt", 9}, &kind, &version);
    EXPECT_EQ(kind, kOs9x);
    EXPECT_EQ(version, 410);
}

TEST(Classification, ASystemThatDoesNotSayItsVersionIsUnknown) {
    int32_t kind = -1;
    int32_t version = 0;
    ClassifySystem(SystemFacts{false, 0, 0, 0, false, nullptr, 0}, &kind, &version);
    EXPECT_EQ(kind, kOsUnknown);
    EXPECT_EQ(version, 0);
}

}  // namespace
