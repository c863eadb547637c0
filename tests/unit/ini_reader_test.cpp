#include <gtest/gtest.h>

#include <string>

#include "config/ini_reader.h"
#include "ini_fixture.h"

namespace {

class IniReaderTest : public ::testing::Test {
protected:
    // Loads the text as install.ini into the test's own reader.
    void LoadText(const std::u16string& text) {
        path = files.WriteIni(text);
        ASSERT_TRUE(reader.Load(path.c_str()));
    }
    std::u16string Get(const char16_t* section, const char16_t* key) { return Lookup(reader, section, key); }

    // The message of the failure that Load raises for the path.
    std::string LoadFailure(const std::string& loadPath) {
        try {
            if (reader.Load(loadPath.c_str())) return "<loaded>";
        } catch (const IniLoadFailure& failure) {
            return failure.what();
        }
        return "<no failure>";
    }

    IniFixture files;
    UnicodeIniReader reader;
    std::string path;
};

TEST_F(IniReaderTest, MissingFileNamesThePathAfterTwoBlanks) {
    const std::string missing = files.folder + "/absent.ini";
    EXPECT_EQ(LoadFailure(missing), "Error opening file:  " + missing);
}

TEST_F(IniReaderTest, FilesWithoutTheLittleEndianMarkAreTheWrongType) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"utf8.ini", "\xEF\xBB\xBF[General]\r\nButtonCount=2\r\n"},
        {"big-endian.ini", std::string("\xFE\xFF\0[", 4)},
        {"no-mark.ini", fixture::Utf16Le(u"[General]\r\n", false)},
        {"empty.ini", ""},
        {"one-byte.ini", "\xFF"},
    };
    for (const auto& c : cases) {
        const std::string file = files.WriteBytes(c.name, c.bytes);
        EXPECT_EQ(LoadFailure(file), "Wrong file type (Must be Little Endian Unicode): '" + file + "'!") << c.name;
    }
}

TEST_F(IniReaderTest, AFailedLoadLeavesTheReaderEmpty) {
    LoadText(u"[General]\r\nKey=value\r\n");
    EXPECT_EQ(Get(u"General", u"Key"), u"value");
    const std::string wrong = files.WriteBytes("wrong.ini", "plain text");
    EXPECT_NE(LoadFailure(wrong), "<no failure>");
    EXPECT_EQ(Get(u"General", u"Key"), u"<default>");
}

TEST_F(IniReaderTest, AReadErrorAfterTheOpenIsReported) {
    // The host's C library opens a folder but cannot read it.
    EXPECT_EQ(LoadFailure(files.folder), "Could not read the file!");
}

TEST_F(IniReaderTest, OnlyTheMarkGivesAnEmptyTextAndDefaults) {
    LoadText(u"");
    EXPECT_EQ(Get(u"General", u"Key"), u"<default>");
    EXPECT_EQ(reader.GetInt(u"General", u"Key", 42), 42);
}

TEST_F(IniReaderTest, ATrailingOddByteIsIgnored) {
    path = files.WriteBytes("odd.ini", fixture::Utf16Le(u"[A]\r\nk=v") + "\x41");
    ASSERT_TRUE(reader.Load(path.c_str()));
    EXPECT_EQ(Get(u"A", u"k"), u"v");
}

TEST_F(IniReaderTest, AZeroUnitEndsTheText) {
    LoadText(std::u16string(u"[A]\r\nk=v\r\nj=w", 13) + u'\0' + u"\r\nlater=x\r\n");
    EXPECT_EQ(Get(u"A", u"j"), u"w");
    EXPECT_EQ(Get(u"A", u"later"), u"<default>");
}

TEST_F(IniReaderTest, HeadersAreFoundAmongBracketsInValuesButNotPastAZeroUnit) {
    LoadText(u"[A]\r\nk=[[B\r\nl=[A] [\r\n[B]\r\nk=b\r\n[C" + std::u16string(1, u'\0') + u"]\r\n[D]\r\nk=d\r\n");
    EXPECT_EQ(Get(u"B", u"k"), u"b");
    EXPECT_EQ(Get(u"A", u"k"), u"[[B");
    EXPECT_EQ(Get(u"C", u"k"), u"<default>");
    EXPECT_EQ(Get(u"D", u"k"), u"<default>");
}

TEST_F(IniReaderTest, LoadingTheSamePathAgainReadsNothing) {
    LoadText(u"[A]\r\nk=first\r\n");
    // The file changes on disc, but a load of the same path (in other case) keeps the text held.
    files.WriteIni(u"[A]\r\nk=second\r\n");
    std::string upper = path;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    ASSERT_NE(upper, path);
    EXPECT_TRUE(reader.Load(path.c_str()));
    EXPECT_EQ(Get(u"A", u"k"), u"first");
    // After Clear the file is read afresh.
    reader.Clear();
    EXPECT_TRUE(reader.Load(path.c_str()));
    EXPECT_EQ(Get(u"A", u"k"), u"second");
}

TEST_F(IniReaderTest, HeadersMatchInAnyCaseButNotWithBlanksInside) {
    LoadText(u"[general]\r\na=1\r\n[PROMPT-0x09]\r\nb=2\r\n[ Spaced ]\r\nc=3\r\n");
    EXPECT_EQ(Get(u"General", u"a"), u"1");
    EXPECT_EQ(Get(u"GENERAL", u"a"), u"1");
    EXPECT_EQ(Get(u"Prompt-0x09", u"b"), u"2");
    EXPECT_EQ(Get(u"Spaced", u"c"), u"<default>");
}

TEST_F(IniReaderTest, AHeaderTextInsideACommentLineIsTakenAsTheHeader) {
    LoadText(u"; settings of [General] follow\r\nKey=from-comment\r\n[General]\r\nKey=real\r\n");
    EXPECT_EQ(Get(u"General", u"Key"), u"from-comment");
}

TEST_F(IniReaderTest, AHeaderOnTheLastLineIsAMissingSection) {
    LoadText(u"[A]\r\nk=v\r\n[Last]");
    EXPECT_EQ(Get(u"Last", u"k"), u"<default>");
    EXPECT_EQ(Get(u"A", u"k"), u"v");
}

TEST_F(IniReaderTest, KeyLinesMustStartWithTheKeyAndReachTheEqualsSign) {
    LoadText(
        u"[B]\r\n"
        u"  Path=indented\r\n"
        u"Path Name=two words\r\n"
        u"PathName=longer key\r\n"
        u"Path\r\n"
        u"PATH   =   found  value  \r\n"
        u"Path=second\r\n");
    EXPECT_EQ(Get(u"B", u"Path"), u"found  value");
    EXPECT_EQ(Get(u"B", u"PathName"), u"longer key");
}

TEST_F(IniReaderTest, ValuesKeepTheirCaseQuotesAndSemicolons) {
    LoadText(u"[B]\r\nArgs=\t\"C:\\Some Dir\" /Q ; not a comment\t \r\nEmpty=\r\nBlank=   \r\n");
    EXPECT_EQ(Get(u"B", u"Args"), u"\"C:\\Some Dir\" /Q ; not a comment");
    char16_t out[kIniValueCapacity];
    EXPECT_TRUE(reader.GetString(u"B", u"Empty", u"x", out));
    EXPECT_EQ(std::u16string(out), u"");
    EXPECT_TRUE(reader.GetString(u"B", u"Blank", u"x", out));
    EXPECT_EQ(std::u16string(out), u"");
    EXPECT_FALSE(reader.GetString(u"B", u"Missing", nullptr, out));
    EXPECT_EQ(std::u16string(out), u"");
}

TEST_F(IniReaderTest, TheSearchStopsAtTheNextSection) {
    LoadText(u"[Empty]\r\n[Next]\r\nk=next\r\n[Other]\r\nj=other\r\n");
    EXPECT_EQ(Get(u"Empty", u"k"), u"<default>");
    EXPECT_EQ(Get(u"Next", u"k"), u"next");
    EXPECT_EQ(Get(u"Next", u"j"), u"<default>");
    EXPECT_EQ(Get(u"Other", u"j"), u"other");
}

TEST_F(IniReaderTest, LineEndsOfEveryKindGiveTheSameResults) {
    const std::u16string texts[] = {
        u"[S]\r\na=1\r\n\r\nb=2\r\n[T]\r\nc=3",
        u"[S]\na=1\n\nb=2\n[T]\nc=3",
        u"[S]\ra=1\r\rb=2\r[T]\rc=3",
        u"[S]\n\r\n\ra=1\r\n\n\nb=2\n\r[T]\r\r\nc=3",
    };
    int n = 0;
    for (const auto& text : texts) {
        path = files.WriteIni(text, "ends" + std::to_string(n++) + ".ini");
        ASSERT_TRUE(reader.Load(path.c_str()));
        EXPECT_EQ(Get(u"S", u"a"), u"1");
        EXPECT_EQ(Get(u"S", u"b"), u"2");
        EXPECT_EQ(Get(u"S", u"c"), u"<default>");
        EXPECT_EQ(Get(u"T", u"c"), u"3") << "the last line is read without a line end";
    }
}

TEST_F(IniReaderTest, TheSectionCacheFollowsTheLastSearch) {
    LoadText(u"[A]\r\nk=a\r\n[B]\r\nk=b\r\n");
    EXPECT_EQ(Get(u"A", u"k"), u"a");
    EXPECT_EQ(Get(u"a", u"k"), u"a");
    EXPECT_EQ(Get(u"B", u"k"), u"b");
    EXPECT_EQ(Get(u"Missing", u"k"), u"<default>");
    EXPECT_EQ(Get(u"A", u"k"), u"a");
}

TEST_F(IniReaderTest, OverlongNamesAndValuesStayWithinTheirBuffers) {
    const std::u16string longName(200, u'n');
    const std::u16string prefix(127, u'n');
    const std::u16string longValue(400, u'v');
    LoadText(u"[" + longName + u"]\r\nk=long\r\n[" + prefix + u"]\r\nk=prefix\r\n[S]\r\nv=" + longValue + u"\r\n");
    EXPECT_EQ(Get(longName.c_str(), u"k"), u"long");
    // A cut copy of the long name must not answer for its first 127 characters.
    EXPECT_EQ(Get(prefix.c_str(), u"k"), u"prefix");
    EXPECT_EQ(Get(longName.c_str(), u"k"), u"long");
    EXPECT_EQ(Get(u"S", u"v"), longValue.substr(0, kIniValueCapacity - 1));
}

TEST_F(IniReaderTest, GetIntReadsTheLeadingInteger) {
    LoadText(u"[N]\r\nEmpty=\r\nSeven=  7  \r\nMixed=12abc\r\nNegative=-40\r\nWords=abc\r\nHuge=99999999999\r\n");
    EXPECT_EQ(reader.GetInt(u"N", u"Missing", 5), 5);
    EXPECT_EQ(reader.GetInt(u"N", u"Missing", -3), -3);
    EXPECT_EQ(reader.GetInt(u"N", u"Empty", 5), 0);
    EXPECT_EQ(reader.GetInt(u"N", u"Seven", 5), 7);
    EXPECT_EQ(reader.GetInt(u"N", u"Mixed", 5), 12);
    EXPECT_EQ(reader.GetInt(u"N", u"Negative", 5), -40);
    EXPECT_EQ(reader.GetInt(u"N", u"Words", 5), 0);
    EXPECT_EQ(reader.GetInt(u"N", u"Huge", 5), INT32_MAX);
    EXPECT_EQ(reader.GetInt(u"Nowhere", u"Seven", INT32_MIN), INT32_MIN);
}

}  // namespace
