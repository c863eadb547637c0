// The catalogue of hostile and broken discs: tessaline.exe started on each
// under Wine must end with exit code 0 and the outcome the table states (its
// messages, in order, or its window, used and closed), within a time limit,
// never crashing or hanging. The table below is the catalogue; the file
// hostile_inputs.md shows it to readers and is checked against it.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/menu_process.h"
#include "support/fixture_bytes.h"

namespace {

constexpr const char* kMenuClass = "Quorvan Belmira Autorun";
constexpr DWORD kLimitMs = 20000;

// The 1024 x 768 test screen leaves 1004 x 748: this size scales by exactly 0.5.
const std::u16string kHalfScale = u"AppSize=2008,1496\r\n";

std::string Ini(const std::u16string& text) {
    return fixture::Utf16Le(text);
}

std::u16string Wide(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

// A text of exactly `length` characters that shows where it was cut: 0-9 repeated.
std::u16string Filler(size_t length) {
    std::u16string text;
    for (size_t k = 0; k < length; ++k) text.push_back(static_cast<char16_t>(u'0' + k % 10));
    return text;
}

std::u16string Repeat(const std::u16string& piece, size_t count) {
    std::u16string text;
    text.reserve(piece.size() * count);
    for (size_t k = 0; k < count; ++k) text += piece;
    return text;
}

// --- Bitmap files of any depth, order and compression ---

void Put16(std::string& bytes, uint32_t value) {
    bytes.push_back(static_cast<char>(value & 0xFF));
    bytes.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& bytes, uint32_t value) {
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

uint32_t Stride(int32_t width, uint32_t bits) {
    return (bits * static_cast<uint32_t>(width) + 31) / 32 * 4;
}

// A file with a 40-byte info header, `colors` grey colour-table entries and
// the pixel bytes as given; a negative height stores the rows top-down.
std::string BitmapFile(int32_t width, int32_t height, uint32_t bits, uint32_t compression, uint32_t colors,
                       const std::string& pixels) {
    const uint32_t pixelOffset = 14 + 40 + 4 * colors;
    std::string bytes = "BM";
    Put32(bytes, pixelOffset + static_cast<uint32_t>(pixels.size()));
    Put32(bytes, 0);
    Put32(bytes, pixelOffset);
    Put32(bytes, 40);
    Put32(bytes, static_cast<uint32_t>(width));
    Put32(bytes, static_cast<uint32_t>(height));
    Put16(bytes, 1);
    Put16(bytes, bits);
    Put32(bytes, compression);
    Put32(bytes, static_cast<uint32_t>(pixels.size()));
    Put32(bytes, 2835);
    Put32(bytes, 2835);
    Put32(bytes, colors);
    Put32(bytes, 0);
    for (uint32_t k = 0; k < colors; ++k) {
        const char level = static_cast<char>(colors > 1 ? k * 255 / (colors - 1) : 0);
        bytes += {level, level, level, 0};
    }
    return bytes + pixels;
}

std::string WithPixelOffset(std::string bytes, uint32_t offset) {
    for (int k = 0; k < 4; ++k) bytes[10 + k] = static_cast<char>((offset >> (8 * k)) & 0xFF);
    return bytes;
}

// Uncompressed rows of one byte value.
std::string Rows(int32_t width, int32_t height, uint32_t bits, char value) {
    const int32_t rows = height < 0 ? -height : height;
    return std::string(static_cast<size_t>(Stride(width, bits)) * static_cast<size_t>(rows), value);
}

// Run-length encoded 8-bit rows, every pixel colour 1.
std::string Rle8Rows(int32_t width, int32_t height) {
    std::string row;
    for (int32_t left = width; left > 0; left -= 255) row += {static_cast<char>(left < 255 ? left : 255), 1};
    row += {0, 0};  // end of line
    std::string rows;
    rows.reserve(row.size() * static_cast<size_t>(height) + 2);
    for (int32_t y = 0; y < height; ++y) rows += row;
    return rows + std::string{0, 1};  // end of picture
}

// --- Discs ---

// Without offered languages the per-language sections end in "-": "[Button1-]".
const std::u16string kTwoButtons = u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2\r\n";

void WriteBack(const Disc& disc) {
    disc.Folder().Write("back.bmp", fixture::PlainBitmap(64, 48, {40, 80, 120}));
}

// A picture and an install.ini that asks for half size.
void WritePictureAtHalf(const Disc& disc, const std::string& picture) {
    disc.Folder().Write("back.bmp", picture);
    disc.Folder().Write("install.ini", Ini(kTwoButtons + kHalfScale));
}

void WriteIniBytes(const Disc& disc, const std::string& bytes) {
    WriteBack(disc);
    disc.Folder().Write("install.ini", bytes);
}

// Every key that the menu reads, in every section it reads, with `value`
// standing in for every text; the numbers and names a usable disc needs come
// first when `usable`, and keys read first win.
std::u16string EveryTextKey(const std::u16string& value, bool usable) {
    const std::u16string v = value + u"\r\n";
    std::u16string text = u"[General]\r\n";
    if (usable) text += u"BitmapFile256=back.bmp\r\nButtonCount=2\r\nLanguageCount=2\r\nAppSize=640,480\r\n";
    text += u"BitmapFile256=" + v + u"BitmapFile016=" + v + u"ButtonCount=" + v + u"LanguageCount=" + v +
            u"AppSize=" + v + u"AppName=" + v + u"Edge=" + v + u"BitmapRect=" + v + u"BackColor=" + v +
            u"ButtonPaneRect=" + v + u"HelpRect=" + v + u"BtnFont=13,400,0,0," + v + u"HelpFont=" + v +
            u"ButtonPaneColor=" + v + u"BtnColorBk=" + v + u"BtnColorHi=" + v + u"BtnColorLo=" + v +
            u"HelpColor=" + v + u"BulletColorHi=" + v + u"BulletColorLo=" + v;
    text += u"[Languages]\r\n";
    if (usable) text += u"language1=0x09\r\nlanguage2=0x07\r\n";
    text += u"language1=" + v + u"language2=" + v;
    for (const char16_t* tag : {u"0x09", u"0x07"}) {
        const std::u16string t = tag;
        text += u"[LangCombo-" + t + u"]\r\n";
        if (usable) text += u"BtnRect=300,10,400,100\r\n";
        text += u"BtnRect=" + v + u"0x09=" + v + u"0x07=" + v + u"Error=" + v + u"ErrTitle=" + v;
        text += u"[Prompt-" + t + u"]\r\nAppName=" + v + u"DefHelp=" + v + u"Font=13,400,0,0," + v + u"Color=" + v +
                u"BtnFont=" + v + u"HelpFont=" + v + u"HelpRect=" + v + u"AppSize=" + v + u"BitmapRect=" + v +
                u"BackColor=" + v + u"ButtonPaneRect=" + v + u"ButtonPaneColor=" + v + u"BtnColorHi=" + v +
                u"BtnColorLo=" + v + u"HelpColor=" + v + u"BulletColorHi=" + v + u"BulletColorLo=" + v;
        text += u"[Copyright-" + t + u"]\r\nName=" + v + u"Position=" + v;
        // The buttons apart: where buttons overlap, a press on them starts nothing.
        for (const auto& [number, rect] : {std::pair{u"1", u"10,10,200,40"}, std::pair{u"2", u"10,50,200,80"}}) {
            text += u"[Button" + std::u16string(number) + u"-" + t + u"]\r\n";
            if (usable) text += u"BtnRect=" + std::u16string(rect) + u"\r\n";
            text += u"Name=" + v + u"Help=" + v + u"BtnRect=" + v + u"Path=" + v + u"Args=" + v +
                    u"SilentPath=" + v + u"SilentArgs=" + v + u"PreRun=" + v + u"PreArgs=" + v + u"PreCond=" + v +
                    u"Exit=" + v;
        }
    }
    return text;
}

// A copy of the probe, which logs how it was started, at `name` on the disc.
void PlaceProbe(const Disc& disc, const std::string& name) {
    disc.Folder().CopyIn(OwnFolder() + "launch_probe.exe", name);
}

// A relative path of exactly `length` bytes that ends in "\probe.exe".
std::string ProbePathOf(size_t length) {
    const std::string leaf = "\\probe.exe";
    return std::string(length - leaf.size(), 'd') + leaf;
}

// A disc whose first button starts `program` with `arguments`.
void WriteLaunchDisc(const Disc& disc, const std::string& program, const std::string& arguments,
                     const std::u16string& more = u"") {
    WriteBack(disc);
    disc.Folder().Write("install.ini", Ini(kTwoButtons + u"[Button1-]\r\nName=Start\r\nBtnRect=10,10,60,40\r\n"
                                                         u"Path=" + Wide(program) + u"\r\nArgs=" +
                                           Wide(arguments) + u"\r\n" + more));
}

const std::string kArgumentsAtTheLimit = "/args-at-the-limit-" + std::string(127 - 19, 'a');

// --- What is done with the open menu ---

// Pointer messages are sent, so that they are handled in order and before
// anything the real pointer might add. The release, which may launch and so
// show a box, is sent without waiting for its answer.
void SendPointer(HWND window, UINT message, int x, int y) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y), SMTO_NORMAL,
                        kLimitMs, &result);
}

void Click(HWND window, int x, int y) {
    SendPointer(window, WM_MOUSEMOVE, x, y);
    SendPointer(window, WM_LBUTTONDOWN, x, y);
    SendNotifyMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// Returns once the menu has taken every message sent to it so far.
void Settle(HWND window) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kLimitMs, &result);
}

struct Box {
    std::string caption;
    std::string text;  // "{ini}" and "{disc}" stand for the disc's paths
    bool prefix;       // the text begins with this (the rest is the system's own wording)
};

std::string Expand(std::string text, const Disc& disc) {
    for (const auto& [mark, value] : {std::pair<std::string, std::string>{"{ini}", disc.IniPath()},
                                      std::pair<std::string, std::string>{"{disc}", disc.Folder().Path()}}) {
        for (size_t at; (at = text.find(mark)) != std::string::npos;) text.replace(at, mark.size(), value);
    }
    return text;
}

// Expects the boxes in order, dismissing each.
void ExpectBoxes(MenuProcess& menu, const Disc& disc, const std::vector<Box>& boxes) {
    for (const Box& box : boxes) {
        HWND shown = menu.WaitForMessageBox(kLimitMs);
        ASSERT_NE(shown, nullptr) << "no message box; expected: " << box.text;
        const MessageBoxContent content = ReadMessageBox(shown);
        EXPECT_EQ(content.caption, box.caption);
        const std::string expected = Expand(box.text, disc);
        if (box.prefix) {
            EXPECT_EQ(content.text.substr(0, expected.size()), expected);
        } else {
            EXPECT_EQ(content.text, expected);
        }
        DismissMessageBox(shown);
        for (int attempt = 0; attempt < 500 && IsWindow(shown); ++attempt) PumpMessagesFor(20);
    }
}

struct Context {
    MenuProcess& menu;
    HWND window;
    const Disc& disc;
    const ProbeLog& log;
};

using Use = void (*)(const Context&);

void HoverAndClickTheFirstButton(const Context& c) {
    SendPointer(c.window, WM_MOUSEMOVE, 15, 15);
    SendPointer(c.window, WM_MOUSEMOVE, 40, 25);
    Click(c.window, 20, 20);
    Settle(c.window);
}

void ExpectTenLanguagesListed(const Context& c) {
    HWND list = FindWindowExA(c.window, nullptr, "ComboBox", nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 10);
}

void ExpectClientSize748(const Context& c) {
    RECT client;
    GetClientRect(c.window, &client);
    EXPECT_EQ(client.right, 748);
    EXPECT_EQ(client.bottom, 748);
}

// Every press of the first button is refused: the preparatory program, then the main one.
void ExpectTwoRefusedLaunches(const Context& c) {
    Click(c.window, 20, 20);
    const std::string refused = "Could not launch file \"{disc}";
    ExpectBoxes(c.menu, c.disc, {{"Could not launch", refused, true}, {"Could not launch", refused, true}});
    Settle(c.window);
    EXPECT_TRUE(c.log.Lines().empty());
}

void ExpectTheProbeAtTheLimitStarted(const Context& c) {
    Click(c.window, 20, 20);
    ASSERT_TRUE(c.log.WaitForLines(1, kLimitMs));
    EXPECT_EQ(CommandLineOf(c.log.Lines()[0]),
              "\"" + c.disc.Folder().Path() + ProbePathOf(131) + "\" " + kArgumentsAtTheLimit);
}

void ExpectOneRefusedLaunch(const Context& c, const std::string& program) {
    Click(c.window, 20, 20);
    ExpectBoxes(c.menu, c.disc, {{"Could not launch", "Could not launch file \"{disc}" + program + "\".\n\nError 206: ",
                                  true}});
    Settle(c.window);
    EXPECT_TRUE(c.log.Lines().empty()) << "nothing was started";
}

void ExpectAPathBeyondTheLimitRefused(const Context& c) {
    ExpectOneRefusedLaunch(c, ProbePathOf(132));
}

void ExpectArgumentsBeyondTheLimitRefused(const Context& c) {
    ExpectOneRefusedLaunch(c, "probe.exe");
}

void ExpectPreparatoryThenMainProgram(const Context& c) {
    Click(c.window, 20, 20);
    ASSERT_TRUE(c.log.WaitForLines(2, kLimitMs));
    const std::vector<std::string> lines = c.log.Lines();
    EXPECT_EQ(CommandLineOf(lines[0]), "\"" + c.disc.Folder().Path() + "probe.exe\" /pre");
    EXPECT_EQ(CommandLineOf(lines[1]), "\"" + c.disc.Folder().Path() + "probe.exe\" /main");
}

// --- The catalogue ---

const Box kWrongType{"Application error", "Wrong file type (Must be Little Endian Unicode): '{ini}'!", false};
const Box kNoBitmapName{"Error", "Neither BitmapFile256 nor BitmapFile016 were found in the ini file.", false};
const Box kIniRefused{"Error", "Couldn't read ini file at {ini}", false};
const Box kUnsupported{"Incorrect bitmap format", "Only 16 color and 256 color bitmaps are supported!", false};
const Box kUnreadable{"Error", "Couldn't read bit map file back.bmp", false};
const Box kLanguageUnusable{
    "Unsupported Language",
    "This program cannot run because the requested\nlanguage is not supported on this system", false};

struct HostileInput {
    const char* name;
    const char* input;    // what the disc holds, in words
    const char* outcome;  // what must happen, in words
    void (*lay)(const Disc&);
    std::vector<Box> boxes;  // in order, each dismissed
    bool window;             // the menu opens after the boxes; it is closed with WM_USER
    Use use;                 // done with the open menu before it is closed
};

const std::vector<HostileInput>& Catalogue() {
    static const std::vector<HostileInput> catalogue = {
        // install.ini as bytes.
        {"EmptyIni", "install.ini of 0 bytes", "the wrong-type message",
         [](const Disc& d) { WriteIniBytes(d, ""); }, {kWrongType}, false, nullptr},
        {"OneByteIni", "install.ini of 1 byte (FF)", "the wrong-type message",
         [](const Disc& d) { WriteIniBytes(d, "\xFF"); }, {kWrongType}, false, nullptr},
        {"TwoBytesBigEndianMark", "install.ini of 2 bytes, FE FF", "the wrong-type message",
         [](const Disc& d) { WriteIniBytes(d, "\xFE\xFF"); }, {kWrongType}, false, nullptr},
        {"MarkOnly", "install.ini holding only the mark FF FE", "no bitmap name: its message",
         [](const Disc& d) { WriteIniBytes(d, "\xFF\xFE"); }, {kNoBitmapName}, false, nullptr},
        {"OddSize", "a usable install.ini with one more byte", "the menu opens",
         [](const Disc& d) { WriteIniBytes(d, Ini(kTwoButtons) + "A"); }, {}, true, nullptr},
        {"TwentyMegabytes", "a usable install.ini followed by 20 MB of lines", "the menu opens",
         [](const Disc& d) {
             WriteIniBytes(d, Ini(kTwoButtons + Repeat(u";" + Filler(252) + u"\r\n", 20 * 1024 * 1024 / 512)));
         },
         {}, true, nullptr},
        {"NulInTheMiddle", "a NUL unit between BitmapFile256 and ButtonCount", "the text ends there: no buttons",
         [](const Disc& d) {
             WriteIniBytes(d, Ini(u"[General]\r\nBitmapFile256=back.bmp\r\n") + std::string(2, '\0') +
                                  fixture::Utf16Le(u"ButtonCount=2\r\n", false));
         },
         {kIniRefused}, false, nullptr},
        {"LineOf100000Characters", "AppName, a button's Name and a comment of 100,000 characters",
         "the menu opens; the name is cut to 255 characters",
         [](const Disc& d) {
             WriteIniBytes(d, Ini(u"[General]\r\nAppName=" + Filler(100000) + u"\r\n;" + Filler(100000) + u"\r\n" +
                                  kTwoButtons.substr(11) + u"[Button1-]\r\nBtnRect=10,10,200,40\r\nName=" +
                                  Filler(100000) + u"\r\n"));
         },
         {}, true, HoverAndClickTheFirstButton},
        {"LongSectionNamesAndKeys", "sections and keys named with 1,000 characters", "the menu opens",
         [](const Disc& d) {
             WriteIniBytes(d, Ini(u"[" + Filler(1000) + u"]\r\n" + Filler(1000) + u"=1\r\n" + kTwoButtons +
                                  Filler(1000) + u"=2\r\n[Button1-0x09" + Filler(1000) + u"]\r\nName=x\r\n"));
         },
         {}, true, nullptr},
        {"TenThousandSections", "10,000 sections before General", "the menu opens",
         [](const Disc& d) {
             std::u16string text;
             for (int n = 0; n < 10000; ++n) text += u"[Section" + Wide(std::to_string(n)) + u"]\r\nKey=1\r\n";
             WriteIniBytes(d, Ini(text + kTwoButtons));
         },
         {}, true, nullptr},
        {"ButtonCountAtTheLimit", "ButtonCount=2147483647", "the menu opens with the first 12 buttons",
         [](const Disc& d) {
             WriteIniBytes(d, Ini(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=2147483647\r\n"
                                  u"[Button12-]\r\nBtnRect=10,10,60,40\r\nName=Twelve\r\n"));
         },
         {}, true, HoverAndClickTheFirstButton},
        {"ButtonCountNegative", "ButtonCount=-5", "the configuration is refused",
         [](const Disc& d) { WriteIniBytes(d, Ini(u"[General]\r\nBitmapFile256=back.bmp\r\nButtonCount=-5\r\n")); },
         {kIniRefused}, false, nullptr},
        {"LanguageCount1000", "LanguageCount=1000 with two languages given", "the menu opens listing 10 languages",
         [](const Disc& d) {
             WriteIniBytes(d, Ini(kTwoButtons + u"LanguageCount=1000\r\n[Languages]\r\nlanguage1=0x09\r\n"
                                                u"language2=0x07\r\n[LangCombo-0x09]\r\nBtnRect=300,10,400,100\r\n"));
         },
         {}, true, ExpectTenLanguagesListed},
        {"IdentifierAllOnes", "the only language is 0xFFFFFFFF", "the language cannot be used: its message",
         [](const Disc& d) {
             WriteIniBytes(d, Ini(kTwoButtons + u"LanguageCount=1\r\n[Languages]\r\nlanguage1=0xFFFFFFFF\r\n"));
         },
         {kLanguageUnusable}, false, nullptr},
        {"HugeRectangles",
         "every rectangle and position at -2147483648 and 2147483647, a button turned inside out",
         "the menu opens, takes pointer input and closes",
         [](const Disc& d) {
             const std::u16string whole = u"-2147483648,-2147483648,2147483647,2147483647";
             WriteIniBytes(d, Ini(kTwoButtons.substr(0, kTwoButtons.size() - 3) + u"3\r\nLanguageCount=2\r\n"
                                  u"BitmapRect=" + whole + u"\r\nButtonPaneRect=2147483647," + whole.substr(12) +
                                  u",3d\r\nHelpRect=" + whole + u"\r\nEdge=255,0,0\r\n"
                                  u"[Languages]\r\nlanguage1=0x09\r\nlanguage2=0x07\r\n"
                                  u"[LangCombo-0x09]\r\nBtnRect=" + whole + u"\r\n"
                                  u"[Copyright-0x09]\r\nPosition=0x7FFFFFFF,-2147483648\r\n"
                                  u"[Button1-0x09]\r\nName=Huge\r\nBtnRect=" + whole + u"\r\n"
                                  u"[Button2-0x09]\r\nBtnRect=2147483647,2147483647,-2147483648,-2147483648\r\n"
                                  u"[Button3-0x09]\r\nBtnRect=10,50,99999999999,60\r\n"));
         },
         {}, true, HoverAndClickTheFirstButton},
        {"NegativeSizes", "AppSize=-640,-480 and buttons of negative width and height",
         "the menu opens (without area) and closes",
         [](const Disc& d) {
             WriteIniBytes(d, Ini(kTwoButtons + u"AppSize=-640,-480\r\n[Button1-]\r\nBtnRect=60,40,10,10\r\n"));
         },
         {}, true, HoverAndClickTheFirstButton},
        {"AppSize100000", "AppSize=100000,100000 and a 400 x 400 picture",
         "scale 748/100000: the menu opens 748 x 748 with a 2 x 2 picture",
         [](const Disc& d) {
             d.Folder().Write("back.bmp", fixture::PlainBitmap(400, 400, {1, 2, 3}));
             d.Folder().Write("install.ini", Ini(kTwoButtons + u"AppSize=100000,100000\r\n"));
         },
         {}, true, ExpectClientSize748},
        {"AppSizeAtTheLimit", "AppSize=2147483647,2147483647", "the picture scales to nothing: its message",
         [](const Disc& d) { WriteIniBytes(d, Ini(kTwoButtons + u"AppSize=2147483647,2147483647\r\n")); },
         {kUnreadable}, false, nullptr},
        {"Texts255", "every text key exactly 255 characters long",
         "the menu opens; a press refuses the over-long preparatory and main programs",
         [](const Disc& d) { WriteIniBytes(d, Ini(EveryTextKey(Filler(255), true))); }, {}, true,
         ExpectTwoRefusedLaunches},
        {"Texts256", "every text key 256 characters long",
         "as with 255: the values are cut to 255 characters",
         [](const Disc& d) { WriteIniBytes(d, Ini(EveryTextKey(Filler(256), true))); }, {}, true,
         ExpectTwoRefusedLaunches},
        {"Texts5000", "every text key 5,000 characters long", "as with 255: the values are cut to 255 characters",
         [](const Disc& d) { WriteIniBytes(d, Ini(EveryTextKey(Filler(5000), true))); }, {}, true,
         ExpectTwoRefusedLaunches},
        {"EveryKeyEmpty", "every key present with an empty value", "no bitmap name: its message",
         [](const Disc& d) { WriteIniBytes(d, Ini(EveryTextKey(u"", false))); }, {kNoBitmapName}, false, nullptr},
        {"EveryKeyEmptyButTheNeededOnes", "every key empty but the picture, two buttons and two languages",
         "the menu opens",
         [](const Disc& d) { WriteIniBytes(d, Ini(EveryTextKey(u"", true))); }, {}, true,
         HoverAndClickTheFirstButton},

        // Background pictures.
        {"TruncatedBitmapAsIs", "an 8-bit picture cut after 10 of its 200 rows, shown at its own size",
         "the system's loader takes what is there: the menu opens",
         [](const Disc& d) {
             const std::string whole = fixture::PlainBitmap(200, 200, {30, 60, 90});
             d.Folder().Write("back.bmp", whole.substr(0, 14 + 40 + 4 + 200 * 10));
             d.Folder().Write("install.ini", Ini(kTwoButtons));
         },
         {}, true, nullptr},
        {"TruncatedBitmapScaled", "the same cut picture at scale 0.5", "the bitmap-format message, then unreadable",
         [](const Disc& d) {
             const std::string whole = fixture::PlainBitmap(200, 200, {30, 60, 90});
             WritePictureAtHalf(d, whole.substr(0, 14 + 40 + 4 + 200 * 10));
         },
         {kUnsupported, kUnreadable}, false, nullptr},
        {"ShortPaletteScaled", "an 8-bit picture with 3 colours and indices up to 255, at scale 0.5",
         "the menu opens; indices beyond the table draw black",
         [](const Disc& d) {
             std::string pixels;
             for (int k = 0; k < 64 * 48; ++k) pixels.push_back(static_cast<char>(k % 256));
             WritePictureAtHalf(d, BitmapFile(64, 48, 8, 0, 3, pixels));
         },
         {}, true, nullptr},
        {"OneByOneScaled", "a 1 x 1 picture at scale 0.5", "it scales to nothing: unreadable",
         [](const Disc& d) { WritePictureAtHalf(d, BitmapFile(1, 1, 8, 0, 2, Rows(1, 1, 8, 1))); },
         {kUnreadable}, false, nullptr},
        {"ZeroByZeroAsIs", "a 0 x 0 picture at its own size", "the system's loader accepts it: the menu opens",
         [](const Disc& d) {
             d.Folder().Write("back.bmp", BitmapFile(0, 0, 8, 0, 2, ""));
             d.Folder().Write("install.ini", Ini(kTwoButtons));
         },
         {}, true, nullptr},
        {"ZeroByZeroScaled", "a 0 x 0 picture at scale 0.5", "the bitmap-format message, then unreadable",
         [](const Disc& d) { WritePictureAtHalf(d, BitmapFile(0, 0, 8, 0, 2, "")); }, {kUnsupported, kUnreadable},
         false, nullptr},
        {"Huge20000Scaled", "a 20000 x 20000 run-length encoded 8-bit picture (400 MB unpacked) at scale 0.5",
         "the menu opens with a 10000 x 10000 picture",
         [](const Disc& d) { WritePictureAtHalf(d, BitmapFile(20000, 20000, 8, 1, 2, Rle8Rows(20000, 20000))); }, {},
         true, nullptr},
        {"Rle8Scaled", "a 64 x 48 run-length encoded 8-bit picture at scale 0.5", "the menu opens",
         [](const Disc& d) { WritePictureAtHalf(d, BitmapFile(64, 48, 8, 1, 2, Rle8Rows(64, 48))); }, {}, true,
         nullptr},
        {"TopDownScaled", "a top-down 8-bit picture at scale 0.5", "the menu opens",
         [](const Disc& d) { WritePictureAtHalf(d, BitmapFile(64, -48, 8, 0, 2, Rows(64, -48, 8, 1))); }, {}, true,
         nullptr},
        {"OneBitScaled", "a 1-bit picture at scale 0.5", "the bitmap-format message, then unreadable",
         [](const Disc& d) { WritePictureAtHalf(d, BitmapFile(64, 48, 1, 0, 2, Rows(64, 48, 1, 0x55))); },
         {kUnsupported, kUnreadable}, false, nullptr},
        {"SixteenBitScaled", "a 16-bit picture at scale 0.5", "the bitmap-format message, then unreadable",
         [](const Disc& d) { WritePictureAtHalf(d, BitmapFile(64, 48, 16, 0, 0, Rows(64, 48, 16, 0x33))); },
         {kUnsupported, kUnreadable}, false, nullptr},
        {"TwentyFourBitScaled", "a 24-bit picture at scale 0.5", "the bitmap-format message, then unreadable",
         [](const Disc& d) { WritePictureAtHalf(d, BitmapFile(64, 48, 24, 0, 0, Rows(64, 48, 24, 0x44))); },
         {kUnsupported, kUnreadable}, false, nullptr},
        {"ThirtyTwoBitScaled", "a 32-bit picture at scale 0.5", "the bitmap-format message, then unreadable",
         [](const Disc& d) { WritePictureAtHalf(d, BitmapFile(64, 48, 32, 0, 0, Rows(64, 48, 32, 0x22))); },
         {kUnsupported, kUnreadable}, false, nullptr},
        // Files the whole-file check once let through, on which the system's
        // loader read past the end (tests/win32/bitmap_loader_proof_test.cpp).
        {"PixelOffsetZeroScaled",
         "an 8-bit 67 x 50 picture with pixel offset 0 (its rows then follow the colour table), cut at 4,096 bytes, "
         "at scale 0.5",
         "the bitmap-format message, then unreadable",
         [](const Disc& d) {
             const std::string picture = WithPixelOffset(BitmapFile(67, 50, 8, 0, 256, Rows(67, 50, 8, 1)), 0);
             WritePictureAtHalf(d, picture.substr(0, 4096));
         },
         {kUnsupported, kUnreadable}, false, nullptr},
        {"PixelOffsetInTheFileHeaderScaled", "an 8-bit 67 x 50 picture with pixel offset 1, at scale 0.5",
         "the bitmap-format message, then unreadable",
         [](const Disc& d) {
             WritePictureAtHalf(d, WithPixelOffset(BitmapFile(67, 50, 8, 0, 256, Rows(67, 50, 8, 1)), 1));
         },
         {kUnsupported, kUnreadable}, false, nullptr},
        {"RunLengthPastTheEndScaled",
         "an 8-bit 67 x 50 picture marked run-length encoded whose data has no end mark, cut at 4,096 bytes inside "
         "the image size its header gives, at scale 0.5",
         "the bitmap-format message, then unreadable",
         [](const Disc& d) {
             WritePictureAtHalf(d, BitmapFile(67, 50, 8, 1, 256, Rows(67, 50, 8, 1)).substr(0, 4096));
         },
         {kUnsupported, kUnreadable}, false, nullptr},

        // The launcher's limits and the launch condition.
        {"ProgramAndArgumentsAtTheLimit", "a program path of 131 bytes and arguments of 127 bytes",
         "a press starts the program with exactly that command line",
         [](const Disc& d) {
             PlaceProbe(d, ProbePathOf(131));
             WriteLaunchDisc(d, ProbePathOf(131), kArgumentsAtTheLimit);
         },
         {}, true, ExpectTheProbeAtTheLimitStarted},
        {"ProgramBeyondTheLimit", "a program path of 132 bytes (the program exists)",
         "a press is refused with error 206; nothing starts",
         [](const Disc& d) {
             PlaceProbe(d, ProbePathOf(132));
             WriteLaunchDisc(d, ProbePathOf(132), "");
         },
         {}, true, ExpectAPathBeyondTheLimitRefused},
        {"ArgumentsBeyondTheLimit", "arguments of 128 bytes", "a press is refused with error 206; nothing starts",
         [](const Disc& d) {
             PlaceProbe(d, "probe.exe");
             WriteLaunchDisc(d, "probe.exe", kArgumentsAtTheLimit + "a");
         },
         {}, true, ExpectArgumentsBeyondTheLimitRefused},
        {"PreCondOf300Characters", "PreCond of 300 characters: all,0,0, and 292 more",
         "a press starts the preparatory program, then the main one",
         [](const Disc& d) {
             PlaceProbe(d, "probe.exe");
             WriteLaunchDisc(d, "probe.exe", "/main",
                             u"PreRun=probe.exe\r\nPreArgs=/pre\r\nPreCond=all,0,0," + Filler(292) + u"\r\n");
         },
         {}, true, ExpectPreparatoryThenMainProgram},
    };
    return catalogue;
}

// Cases are named by their name in test output, not shown as bytes.
void PrintTo(const HostileInput& c, std::ostream* out) {
    *out << c.name;
}

class HostileInputs : public ::testing::TestWithParam<HostileInput> {};

TEST_P(HostileInputs, EndsSoundlyWithExitCodeZero) {
    const HostileInput& c = GetParam();
    // The pointer away from the menu, so that only the case's own input reaches it.
    SetCursorPos(0, 0);
    Disc disc;
    c.lay(disc);
    ProbeLog log;
    MenuProcess menu(disc.ExePath(), "", disc.Folder().Path());
    ExpectBoxes(menu, disc, c.boxes);
    if (c.window) {
        HWND window = menu.WaitForWindow(kMenuClass, kLimitMs);
        ASSERT_NE(window, nullptr) << "the menu did not open";
        if (c.use != nullptr) c.use(Context{menu, window, disc, log});
        EXPECT_EQ(menu.WaitForMessageBox(0), nullptr) << "no other message";
        SendMessageTimeoutA(window, WM_USER, 0, 0, SMTO_NORMAL, kLimitMs, nullptr);
    }
    DWORD exitCode = 1;
    ASSERT_TRUE(menu.WaitForExit(kLimitMs, &exitCode)) << "the menu did not end";
    EXPECT_EQ(exitCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, HostileInputs, ::testing::ValuesIn(Catalogue()),
                         [](const ::testing::TestParamInfo<HostileInput>& info) { return info.param.name; });

// The readers' copy of the table: one row per case, in order, as the table says.
std::string CatalogueRow(const HostileInput& c) {
    return std::string("| ") + c.name + " | " + c.input + " | " + c.outcome + " |";
}

TEST(HostileInputsCatalogue, TheDocumentListsEveryCaseAsTheTableSays) {
    std::ifstream file(std::string("Z:") + TESSALINE_CATALOGUE);
    ASSERT_TRUE(file) << TESSALINE_CATALOGUE;
    // The rows of the table headed "| case | input | outcome |".
    std::vector<std::string> rows;
    bool inCatalogue = false;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("| case |", 0) == 0) {
            inCatalogue = true;
        } else if (inCatalogue && line.rfind("| ", 0) == 0) {
            rows.push_back(line);
        } else if (inCatalogue && line.rfind("|-", 0) != 0) {
            inCatalogue = false;
        }
    }
    std::vector<std::string> expected;
    std::ostringstream table;
    for (const HostileInput& c : Catalogue()) {
        expected.push_back(CatalogueRow(c));
        table << CatalogueRow(c) << "\n";
    }
    EXPECT_GE(expected.size(), 30u);
    EXPECT_EQ(rows, expected) << "hostile_inputs.md should list:\n" << table.str();
}

}  // namespace
