// --to-utf16 and the command line of tessaline-check.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "check/check_options.h"
#include "check/to_utf16.h"
#include "check_disc_fixture.h"
#include "config/ini_reader.h"

namespace {

// The text in UTF-16 big endian, without a byte-order mark.
std::string Utf16Be(const std::u16string& text) {
    std::string bytes = fixture::Utf16Le(text, false);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

TEST(DecodeIniText, TakesEachEncodingAuthorsSaveIn) {
    const struct {
        std::string bytes;
        uint32_t codePage;
        std::u16string text;
        const char* encoding;
    } cases[] = {
        {"Name=Gr\xC3\xBC\xC3\x9F" "e", 0, u"Name=Gr\u00FC\u00DFe", "UTF-8"},
        {"\xEF\xBB\xBFName=\xE6\x97\xA5", 0, u"Name=\u65E5", "UTF-8 with a byte-order mark"},
        {"Name=\xF0\x9F\x98\x80", 0, u"Name=\U0001F600", "UTF-8"},
        {std::string("\xFF\xFEN\0=\0", 6), 0, u"N=", "UTF-16 little endian"},
        {std::string("\xFE\xFF\0N\0=", 6), 0, u"N=", "UTF-16 big endian"},
        {fixture::Utf16Le(u"[General]\r\n", false), 0, u"[General]\r\n", "UTF-16 little endian without a byte-order mark"},
        {Utf16Be(u"[General]\r\n"), 0, u"[General]\r\n", "UTF-16 big endian without a byte-order mark"},
        // U+4E00 and U+0100 have the zero byte where the other order has it.
        {fixture::Utf16Le(u"[A]\r\nN=\u4E00\u4E8C\u0100\r\n", false), 0, u"[A]\r\nN=\u4E00\u4E8C\u0100\r\n",
         "UTF-16 little endian without a byte-order mark"},
        {Utf16Be(u"[A]\r\nN=\u4E00\u4E8C\u0100\r\n"), 0, u"[A]\r\nN=\u4E00\u4E8C\u0100\r\n",
         "UTF-16 big endian without a byte-order mark"},
        // Bytes that are not UTF-8 are read in the code page; 0x9C differs between 1252 and 1250.
        {"Name=Gr\xFC\xDF" "e", 1252, u"Name=Gr\u00FC\u00DFe", "code page 1252"},
        {"\x9C", 1252, u"\u0153", "code page 1252"},
        {"\x9C", 1250, u"\u015B", "code page 1250"},
        {"\xC3\x28", 1251, u"\u0413(", "code page 1251"},
    };
    for (const auto& c : cases) {
        DecodedText decoded;
        ASSERT_TRUE(DecodeIniText(c.bytes, c.codePage, &decoded)) << c.encoding;
        EXPECT_EQ(decoded.text, c.text) << c.encoding;
        EXPECT_EQ(decoded.encoding, c.encoding);
    }
}

TEST(DecodeIniText, RefusesOtherTextWithAZeroByte) {
    using namespace std::string_literals;
    // A stray zero byte in UTF-8 text; a U+0000 between UTF-16 characters.
    const std::string cases[] = {
        "[General]\r\nAppName=Men\0\r\nButtonCount=2\r\nBitmapFile256=b.bmp\r\n"s,
        "[\0\0\0G\0"s,
    };
    for (const std::string& bytes : cases) {
        DecodedText decoded;
        EXPECT_FALSE(DecodeIniText(bytes, 1252, &decoded)) << decoded.encoding;
    }
}

TEST(ConvertToUtf16, WritesAFileTheMenusReaderLoadsAndNamesWhatItFound) {
    const struct {
        std::string bytes;
        const char* encoding;
    } cases[] = {
        {"[General]\r\nAppName=Men\xC3\xBC\r\n", "UTF-8"},
        {Utf16Be(u"[General]\r\nAppName=Men\u00FC\r\n"), "UTF-16 big endian without a byte-order mark"},
    };
    for (const auto& c : cases) {
        TestDisc folder;
        folder.Write("saved.ini", c.bytes);
        const std::filesystem::path out = folder.Folder() / "install.ini";
        std::string message;
        ASSERT_TRUE(ConvertToUtf16(folder.Folder() / "saved.ini", out, 0, &message)) << message;
        EXPECT_EQ(message, "wrote " + out.string() + " as UTF-16 little endian with a byte-order mark, from " +
                               c.encoding);
        UnicodeIniReader reader;
        ASSERT_TRUE(reader.Load(out.string().c_str()));
        char16_t value[kIniValueCapacity];
        reader.GetString(u"General", u"AppName", u"", value);
        EXPECT_EQ(std::u16string(value), u"Men\u00FC") << c.encoding;
    }
}

TEST(ConvertToUtf16, RefusesToWriteOverItsInput) {
    TestDisc folder;
    const std::string original = "[General]\r\n";
    folder.Write("install.ini", original);
    std::string message;
    const std::filesystem::path in = folder.Folder() / "install.ini";
    for (const std::filesystem::path& out : {in, folder.Folder() / "." / "install.ini"}) {
        EXPECT_FALSE(ConvertToUtf16(in, out, 0, &message)) << out;
        EXPECT_NE(message.find("refusing"), std::string::npos);
    }
    std::ifstream file(in, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>()), original);
}

CheckOptions Parse(const std::vector<std::string>& arguments, bool* ok, std::string* error) {
    CheckOptions options;
    *ok = ParseCheckOptions(arguments, &options, error);
    return options;
}

TEST(CheckOptionsTest, TheSystemComesFromTheOptions) {
    bool ok = false;
    std::string error;
    CheckOptions o = Parse({"--dry-run", "--os", "9x", "--lang", "0x07", "--screen", "800x600", "--colors", "256",
                            "--folder", "E:", "--picture", "screen.bmp", "disc"},
                           &ok, &error);
    ASSERT_TRUE(ok) << error;
    EXPECT_EQ(o.mode, CheckOptions::Mode::kDryRun);
    EXPECT_EQ(o.check.system.osKind, kOs9x);
    EXPECT_EQ(o.check.system.osVersion, 410) << "a 9x system is 4.10 unless told";
    EXPECT_EQ(o.check.system.userLanguageId, 0x07);
    EXPECT_EQ(o.check.system.screen.width, 800);
    EXPECT_EQ(o.check.system.displayColors, 256);
    EXPECT_EQ(o.check.system.programFolder, "E:\\");
    EXPECT_EQ(o.picture, "screen.bmp");
    EXPECT_EQ(o.discFolder, "disc");

    o = Parse({"--os", "srv", "--version", "5.2", "--screen", "640x480", "--screen", "1024x768", "--locales",
               "0x09,0x407", "disc"},
              &ok, &error);
    ASSERT_TRUE(ok) << error;
    EXPECT_EQ(o.mode, CheckOptions::Mode::kCheck);
    EXPECT_EQ(o.check.system.osVersion, 502);
    EXPECT_EQ(Parse({"--version", "10.0.19045", "disc"}, &ok, &error).check.system.osVersion, 1000) << error;
    EXPECT_EQ(o.check.screens.size(), 2u);
    EXPECT_FALSE(o.check.system.everyLocaleInstalled);
    EXPECT_EQ(o.check.system.installedLanguages, (std::vector<uint16_t>{0x09, 0x07}));

    o = Parse({"--to-utf16", "a.ini", "b.ini", "--codepage", "1251"}, &ok, &error);
    ASSERT_TRUE(ok) << error;
    EXPECT_EQ(o.in, "a.ini");
    EXPECT_EQ(o.codePage, 1251u);
}

TEST(CheckOptionsTest, NumbersAreDecimalAndLanguagesAlsoHexadecimalAfter0x) {
    bool ok = false;
    std::string error;
    const CheckOptions o = Parse({"--version", "0601", "--screen", "0800x0600", "--colors", "0256", "--lang", "010",
                                  "--locales", "0x0C,07", "disc"},
                                 &ok, &error);
    ASSERT_TRUE(ok) << error;
    EXPECT_EQ(o.check.system.osVersion, 601);
    EXPECT_EQ(o.check.screens[0].width, 800);
    EXPECT_EQ(o.check.system.displayColors, 256);
    EXPECT_EQ(o.check.system.userLanguageId, 10);
    EXPECT_EQ(o.check.system.installedLanguages, (std::vector<uint16_t>{0x0C, 7}));
    Parse({"--version", "0x259", "disc"}, &ok, &error);
    EXPECT_FALSE(ok) << "a version is a decimal number";
}

TEST(CheckOptionsTest, NonsenseIsRefusedWithItsReason) {
    const struct {
        std::vector<std::string> arguments;
        const char* reason;
    } cases[] = {
        {{}, "name the disc folder"},
        {{"a", "b"}, "name one disc folder"},
        {{"--os", "xp", "disc"}, "--os takes"},
        {{"--screen", "1024", "disc"}, "--screen takes"},
        {{"--lang", "0x10000", "disc"}, "--lang takes"},
        {{"--version", "five", "disc"}, "--version takes"},
        {{"--version", "10.0.build", "disc"}, "--version takes"},
        {{"--dry-run", "--screen", "800x600", "--screen", "640x480", "disc"}, "one --screen"},
        {{"--to-utf16", "a.ini"}, "IN and OUT"},
        {{"--picture", "a.bmp", "disc"}, "--picture goes with --dry-run"},
        {{"--frobnicate", "disc"}, "unknown option"},
        {{"disc", "--os"}, "needs a value"},
    };
    for (const auto& c : cases) {
        bool ok = true;
        std::string error;
        Parse(c.arguments, &ok, &error);
        EXPECT_FALSE(ok) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

}  // namespace
