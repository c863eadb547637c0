// Where the reader finds its answers: line numbers as editors count them,
// the header a section lookup takes, the lines it searches, and the lookups
// noted for a tool.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/ini_reader.h"
#include "ini_fixture.h"

namespace {

class IniReaderLines : public ::testing::Test {
protected:
    void LoadText(const std::u16string& text) {
        reader.Clear();
        const std::string path = files.WriteIni(text);
        ASSERT_TRUE(reader.Load(path.c_str()));
    }

    IniFixture files;
    UnicodeIniReader reader;
};

TEST_F(IniReaderLines, EachLineEndCountsOnceAsEditorsCountIt) {
    // CR LF, a lone CR and a lone LF each end one line; empty lines count.
    LoadText(u"[General]\r\n\r\nA=1\rB=2\n\nC=3\r\n");
    const std::vector<UnicodeIniReader::Line> lines = reader.Lines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(std::u16string(lines[2].text, lines[2].length), u"A=1");
    EXPECT_EQ(lines[2].number, 3);
    EXPECT_EQ(lines[5].number, 6);
    const struct {
        const char16_t* key;
        int32_t line;
    } cases[] = {{u"A", 3}, {u"B", 4}, {u"C", 6}, {u"D", 0}};
    for (const auto& c : cases) EXPECT_EQ(reader.KeyLine(u"General", c.key), c.line) << std::string(c.key, c.key + 1);
}

TEST_F(IniReaderLines, TheKeyLineIsTheLineWhoseValueGetStringReads) {
    LoadText(u"[General]\r\nPathX=1\r\n Path=2\r\nPath =3\r\nPath=4\r\n[Other]\r\nPath=5\r\n");
    EXPECT_EQ(Lookup(reader, u"General", u"Path"), u"3");
    EXPECT_EQ(reader.KeyLine(u"General", u"path"), 4);
    EXPECT_EQ(reader.KeyLine(u"Other", u"Path"), 7);
    EXPECT_EQ(reader.KeyLine(u"Missing", u"Path"), 0);
}

TEST_F(IniReaderLines, AHeaderInsideAnEarlierLineIsTheOneTaken) {
    LoadText(u"; see [General] below\r\n[General]\r\nA=1\r\n");
    size_t column = 99;
    EXPECT_EQ(reader.SectionHeaderLine(u"general", &column), 1);
    EXPECT_EQ(column, 6u);
    // Its body begins on the line after the comment, where [General] ends it at once.
    EXPECT_TRUE(reader.SectionLines(u"General").empty());
    EXPECT_EQ(reader.KeyLine(u"General", u"A"), 0);
    EXPECT_EQ(reader.SectionHeaderLine(u"Missing"), 0);
}

TEST_F(IniReaderLines, SectionLinesAreTheLinesLookupsSearch) {
    LoadText(u"[A]\r\n\r\nx=1\r\n; note\r\ny=2\r\n[B]\r\nz=3");
    const std::vector<UnicodeIniReader::Line> lines = reader.SectionLines(u"A");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(std::u16string(lines[0].text, lines[0].length), u"x=1");
    EXPECT_EQ(lines[0].number, 3);
    EXPECT_EQ(std::u16string(lines[1].text, lines[1].length), u"; note");
    EXPECT_EQ(lines[2].number, 5);
    const std::vector<UnicodeIniReader::Line> last = reader.SectionLines(u"B");
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0].number, 7) << "the last line needs no line end";
}

TEST_F(IniReaderLines, NotedLookupsAreEveryKeyAskedForUntilNotingStops) {
    LoadText(u"[General]\r\nButtonCount=2\r\n");
    std::vector<UnicodeIniReader::Lookup> noted;
    reader.NoteLookups(&noted);
    reader.GetInt(u"General", u"ButtonCount", 0);
    Lookup(reader, u"Prompt-0x09", u"AppName");
    reader.KeyLine(u"General", u"Edge");  // a query of a tool, not a lookup
    reader.NoteLookups(nullptr);
    Lookup(reader, u"General", u"Edge");
    ASSERT_EQ(noted.size(), 2u);
    EXPECT_EQ(noted[0].section, u"General");
    EXPECT_EQ(noted[0].key, u"ButtonCount");
    EXPECT_EQ(noted[1].section, u"Prompt-0x09");
    EXPECT_EQ(noted[1].key, u"AppName");
}

}  // namespace
