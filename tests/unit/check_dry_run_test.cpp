// The dry run against the menu's own launcher: each command line and working
// folder it prints is what the launcher builds for that program, and each
// preparatory program is started exactly where the launch conditions allow.
// Its picture of the screen: the background where the menu shows it, each
// element's outline in the colour the legend gives, and the layout's findings.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "check/disc_check.h"
#include "check/dry_run.h"
#include "check/findings.h"
#include "check/layout_findings.h"
#include "check_disc_fixture.h"
#include "launch/launch_command.h"
#include "support/dry_run_output.h"

namespace {

const std::vector<std::u16string> kIni = {
    u"[General]",
    u"AppSize=400,300",
    u"BitmapFile256=b.bmp",
    u"ButtonCount=3",
    u"[Button1-]",
    u"Name=Install",
    u"BtnRect=10,10,110,40",
    u"PreRun=redist\\vc.exe",
    u"PreArgs=/quiet",
    u"PreCond=nt,500,0",
    u"Path=setup.exe",
    u"Args=/lang en",
    u"SilentPath=setup.exe",
    u"SilentArgs=/s",
    u"[Button2-]",
    u"Name=Manual",
    u"Path=docs\\manual.pdf",
    u"[Button3-]",
    u"Name=Quit",
    u"Exit=true",
};

using dry_run::Launch;

// What the menu's own launcher builds for a program of the disc.
Launch Built(const std::string& folder, const char16_t* program, const char16_t* arguments) {
    LaunchCommand command;
    EXPECT_EQ(BuildLaunchCommand(folder.c_str(), program, arguments, &command), 0u);
    return Launch{command.commandLine, command.workingFolder};
}

class DryRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        disc.Write("b.bmp", fixture::PlainBitmap(40, 30, {1, 2, 3}));
        disc.WriteIni(kIni);
    }

    // Runs the dry run; returns its exit status and keeps its lines.
    int Run(const SystemChoice& system, const std::filesystem::path& folder = {},
            const std::filesystem::path& picture = {}) {
        std::ostringstream out;
        const int status = DryRun(folder.empty() ? disc.Folder() : folder, system, out, picture);
        lines.clear();
        std::istringstream in(out.str());
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return status;
    }

    std::vector<Launch> LaunchesUnder(const std::string& heading) const { return dry_run::LaunchesUnder(lines, heading); }

    std::string LineStarting(const std::string& start) const {
        for (const std::string& line : lines) {
            if (line.compare(0, start.size(), start) == 0) return line;
        }
        return "<none>";
    }

    TestDisc disc;
    std::vector<std::string> lines;
};

TEST_F(DryRunTest, ClicksStartWhatTheLauncherBuildsWherePreCondAllows) {
    const struct {
        int32_t osKind;
        int32_t osVersion;
        bool preparatory;
    } systems[] = {
        {kOsProfessional, 501, true}, {kOsServer, 500, true}, {kOsProfessional, 400, false}, {kOs9x, 410, false},
    };
    for (const auto& s : systems) {
        SystemChoice system;
        system.osKind = s.osKind;
        system.osVersion = s.osVersion;
        system.programFolder = "E:\\";
        ASSERT_EQ(Run(system), 0);
        std::vector<Launch> expected;
        if (s.preparatory) expected.push_back(Built("E:\\", u"redist\\vc.exe", u"/quiet"));
        expected.push_back(Built("E:\\", u"setup.exe", u"/lang en"));
        EXPECT_EQ(LaunchesUnder("button 1 "), expected) << s.osKind << " " << s.osVersion;
        EXPECT_EQ(LineStarting("  preparatory program: ").substr(23, 3), s.preparatory ? "yes" : "no ");

        // -s: every allowed preparatory program, then the silent programs.
        std::vector<Launch> silent;
        if (s.preparatory) silent.push_back(Built("E:\\", u"redist\\vc.exe", u"/quiet"));
        silent.push_back(Built("E:\\", u"setup.exe", u"/s"));
        EXPECT_EQ(LaunchesUnder("-s starts"), silent);
    }
}

TEST_F(DryRunTest, ADocumentOpensInItsFolderAndAnExitButtonStartsNothing) {
    ASSERT_EQ(Run(SystemChoice{}), 0);
    EXPECT_EQ(LaunchesUnder("button 2 "), std::vector<Launch>{Built("D:\\", u"docs\\manual.pdf", u"")});
    EXPECT_EQ(LaunchesUnder("button 2 ")[0].workingFolder, "D:\\docs");
    EXPECT_TRUE(LaunchesUnder("button 3 ").empty());
    EXPECT_EQ(LineStarting("button 3 "), "button 3 \"Quit\": 0,0,0,0");
}

TEST_F(DryRunTest, TheWindowIsCentredAndEveryRectangleScaledForTheScreen) {
    SystemChoice system;
    ASSERT_EQ(Run(system), 0);
    // 400 x 300 fits 1024 x 768: unscaled, centred on the work area.
    EXPECT_EQ(LineStarting("scale: "), "scale: 1");
    EXPECT_EQ(LineStarting("window: "), "window: 312,234,712,534 (400x300)");
    EXPECT_EQ(LineStarting("button 1 "), "button 1 \"Install\": 10,10,110,40");

    // On 220 x 250 the room is 200 x 230: half the width, so everything at half size.
    system.screen = Size{220, 250};
    ASSERT_EQ(Run(system), 0);
    EXPECT_EQ(LineStarting("scale: "), "scale: 0.5");
    EXPECT_EQ(LineStarting("picture shown at: "), "picture shown at: 20x15");
    EXPECT_EQ(LineStarting("window: "), "window: 10,50,210,200 (200x150)");
    EXPECT_EQ(LineStarting("button 1 "), "button 1 \"Install\": 5,5,55,20");
}

// What start-up takes from the disc: the program, which the system maps,
// install.ini in one read, and the picture, which the system's loader maps
// at the menu's own size and the menu reads once where it shrinks it; and
// how long a seek for each file and the drive's rate take.
TEST_F(DryRunTest, TheStartUpsReadsAreListedWithTheTimeADiscTakes) {
    disc.Write("tessaline.exe", std::string(1000000, 'x'));
    disc.Write("b.bmp", fixture::PlainBitmap(2000, 1000, {1, 2, 3}));
    const uintmax_t ini = std::filesystem::file_size(disc.Folder() / "install.ini");
    const std::string reads = "start-up reads ";
    const std::string iniLine = reads + "install.ini: " + std::to_string(ini) + " bytes, in 1 read";
    // 3 seeks, then 3000058 bytes and install.ini's few hundred.
    const std::string total = reads + std::to_string(3000058 + ini) + " bytes from 3 files: 450 ms from a 16x DVD, 717 "
                              "ms from a 48x CD (a seek of 100 ms for each file, then 20 and 7.2 MB/s)";
    const struct {
        Size screen;
        std::string picture;
    } cases[] = {
        {Size{1024, 768}, "b.bmp: 2000058 bytes, mapped whole by the system"},
        {Size{220, 250}, "b.bmp: 2000058 bytes, in 1 read"},
    };
    for (const auto& c : cases) {
        SystemChoice system;
        system.screen = c.screen;
        ASSERT_EQ(Run(system), 0);
        std::vector<std::string> listed;
        for (const std::string& line : lines) {
            if (line.compare(0, reads.size(), reads) == 0) listed.push_back(line);
        }
        EXPECT_EQ(listed, (std::vector<std::string>{reads + "tessaline.exe: 1000000 bytes, mapped whole by the system",
                                                    iniLine, reads + c.picture, total}));
    }
    // A program the disc build adds is named, not counted.
    disc.Remove("tessaline.exe");
    disc.Write("tessaline-check-adds.txt", "tessaline.exe\n");
    ASSERT_EQ(Run(SystemChoice{}), 0);
    EXPECT_EQ(LineStarting(reads + "tessaline.exe"), reads + "tessaline.exe: added when the disc is made, not counted");
    EXPECT_EQ(LineStarting(reads + std::to_string(2000058 + ini)),
              reads + std::to_string(2000058 + ini) + " bytes from 2 files: 300 ms from a 16x DVD, 478 ms from a 48x "
                                                      "CD (a seek of 100 ms for each file, then 20 and 7.2 MB/s)");
}

TEST_F(DryRunTest, APictureCutShortOpensOnlyWhereItIsNotShrunk) {
    disc.Write("b.bmp", fixture::PlainBitmap(40, 30, {1, 2, 3}).substr(0, 14 + 40 + 4 + 40 * 10));
    SystemChoice system;
    EXPECT_EQ(Run(system), 0);
    EXPECT_EQ(LineStarting("picture shown at: "), "picture shown at: 40x30");
    system.screen = Size{220, 250};
    EXPECT_EQ(Run(system), 2);
    EXPECT_EQ(LineStarting("message box "),
              "message box \"Incorrect bitmap format\": Only 16 color and 256 color bitmaps are supported!");
}

// The pixels of a bottom-up bitmap file of 8 or 24 bits per pixel, with a
// 40-byte header, as 0xRRGGBB counted from the top left.
class BitmapPixels {
public:
    explicit BitmapPixels(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    int32_t Width() const { return static_cast<int32_t>(Read(18, 4)); }
    int32_t Height() const { return static_cast<int32_t>(Read(22, 4)); }
    uint32_t At(int32_t x, int32_t y) const {
        const uint32_t bits = Read(28, 2);
        const uint32_t stride = (bits * static_cast<uint32_t>(Width()) + 31) / 32 * 4;
        const size_t row = Read(10, 4) + static_cast<size_t>(Height() - 1 - y) * stride;
        const size_t at = bits == 8 ? 54 + 4 * Read(row + x, 1) : row + 3 * static_cast<size_t>(x);
        return Read(at, 3) & 0xFFFFFF;
    }

private:
    uint32_t Read(size_t at, int count) const {
        uint32_t value = 0;
        for (int k = count - 1; k >= 0; --k) value = (value << 8) | static_cast<unsigned char>(bytes.at(at + k));
        return value;
    }
    std::string bytes;
};

// The colour "r,g,b" that the picture's legend gives the element whose line
// begins with `label`.
uint32_t LegendColor(const std::vector<std::string>& lines, const std::string& label) {
    for (const std::string& line : lines) {
        if (line.compare(0, label.size() + 2, "  " + label) != 0) continue;
        const size_t digits = line.find_first_of("0123456789", line.find(": "));
        unsigned red = 0, green = 0, blue = 0;
        if (digits != std::string::npos && std::sscanf(line.c_str() + digits, "%u,%u,%u", &red, &green, &blue) == 3) {
            return (red << 16) | (green << 8) | blue;
        }
    }
    ADD_FAILURE() << "no colour in the legend for " << label;
    return 0x1000000;
}

TEST_F(DryRunTest, ThePictureOfTheSampleDiscAt800x600ShowsItsScreen) {
    SystemChoice system;
    system.screen = Size{800, 600};
    const std::filesystem::path file = disc.Folder() / "layout.bmp";
    ASSERT_EQ(Run(system, TESSALINE_SAMPLE_DISC, file), 0);
    const BitmapPixels picture(file);
    ASSERT_EQ(picture.Width(), 800);
    ASSERT_EQ(picture.Height(), 600);
    const BitmapPixels background(std::filesystem::path(TESSALINE_SAMPLE_DISC) / "background.bmp");

    // 640 x 480 fits the screen: the window is centred at 80,60 and shows
    // the picture at its own size, in the file's colours.
    constexpr int32_t kLeft = 80;
    constexpr int32_t kTop = 60;
    for (const Point& p : {Point{300, 50}, Point{2, 2}, Point{637, 477}, Point{500, 250}}) {
        EXPECT_EQ(picture.At(kLeft + p.x, kTop + p.y), background.At(p.x, p.y)) << p.x << "," << p.y;
    }
    const uint32_t edge = LegendColor(lines, "window's edge");
    const uint32_t workArea = LegendColor(lines, "work area");
    EXPECT_EQ(picture.At(kLeft, kTop), edge);
    EXPECT_EQ(picture.At(kLeft + 639, kTop + 479), edge);
    EXPECT_EQ(picture.At(kLeft - 1, kTop + 200), workArea);
    EXPECT_EQ(picture.At(kLeft + 640, kTop + 200), workArea);
    EXPECT_EQ(picture.At(5, 5), workArea);

    // Each element's outline at its top-left and bottom-right pixels, where
    // install.ini places it; the copyright line's row, 13 pixels high as its
    // font, runs to the window's edge.
    const struct {
        const char* label;
        Rect rect;
    } elements[] = {
        {"button 1 ", {40, 132, 248, 164}},      {"button 2 ", {40, 180, 248, 212}},
        {"button 3 ", {40, 228, 248, 260}},      {"button 4 ", {40, 348, 248, 380}},
        {"help area", {300, 310, 606, 392}},     {"copyright line", {24, 448, 639, 461}},
        {"language list", {440, 20, 600, 120}},
    };
    std::vector<uint32_t> colors;
    for (const auto& e : elements) {
        const uint32_t color = LegendColor(lines, e.label);
        EXPECT_EQ(picture.At(kLeft + e.rect.left, kTop + e.rect.top), color) << e.label;
        EXPECT_EQ(picture.At(kLeft + e.rect.right - 1, kTop + e.rect.bottom - 1), color) << e.label;
        EXPECT_NE(picture.At(kLeft + e.rect.left + 1, kTop + e.rect.top + 1), color) << e.label << " is only outlined";
        for (uint32_t other : colors) EXPECT_NE(color, other) << e.label;
        colors.push_back(color);
    }
    EXPECT_EQ(LineStarting("layout: "), "layout: nothing overlaps, and everything lies inside the window and the screen");
}

TEST_F(DryRunTest, ThePictureShowsTheBackgroundAtTheDryRunsScale) {
    // Left half red, right half blue; on 220 x 250 the menu is at half size,
    // its window at 10,50, and the picture 20 x 15 with blue from column 10.
    std::vector<uint8_t> indices;
    for (int i = 0; i < 40 * 30; ++i) indices.push_back(i % 40 < 20 ? 0 : 1);
    disc.Write("b.bmp", fixture::PaletteBitmap(40, 30, 8, {{200, 0, 0}, {0, 0, 200}}, indices));
    SystemChoice system;
    system.screen = Size{220, 250};
    const std::filesystem::path file = disc.Folder() / "layout.bmp";
    ASSERT_EQ(Run(system, {}, file), 0);
    ASSERT_EQ(LineStarting("picture shown at: "), "picture shown at: 20x15");
    const BitmapPixels picture(file);
    EXPECT_EQ(picture.At(10 + 2, 50 + 10), 0xC80000u);
    EXPECT_EQ(picture.At(10 + 9, 50 + 14), 0xC80000u);
    EXPECT_EQ(picture.At(10 + 10, 50 + 10), 0x0000C8u);
    EXPECT_EQ(picture.At(10 + 19, 50 + 14), 0x0000C8u);
    // Beyond the shrunk picture the window's background colour (black) stays.
    EXPECT_EQ(picture.At(10 + 20, 50 + 10), 0x000000u);
    EXPECT_EQ(picture.At(10 + 12, 50 + 15), 0x000000u);
}

TEST_F(DryRunTest, ARunLengthEncodedPictureIsShrunkAndDrawnAsThePlainFileOfItsPixels) {
    if (std::system("command -v convert >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "ImageMagick's convert is not installed: there is no RLE8 file made by another program to test";
    }
    // 24 colours, so that ImageMagick keeps 8 bits per pixel, and an odd
    // width: long runs at the bottom, scattered indices (absolute runs) in
    // the middle, short stripes at the top.
    std::vector<fixture::PaletteEntry> palette;
    for (int k = 0; k < 24; ++k) palette.push_back({uint8_t(k * 10), uint8_t(255 - k * 7), uint8_t(k * 37)});
    std::vector<uint8_t> indices;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 41; ++x) {
            indices.push_back(uint8_t(y < 10 ? (x < 15 ? 0 : 1) : y < 20 ? (x * 7 + y * 13) % 24 : (x / 3) % 24));
        }
    }
    disc.Write("plain.bmp", fixture::PaletteBitmap(41, 30, 8, palette, indices));
    const std::filesystem::path plain = disc.Folder() / "plain.bmp";
    const std::filesystem::path encoded = disc.Folder() / "rle8.bmp";
    const std::string command = "convert '" + plain.string() + "' -colors 256 BMP3:'" + encoded.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(encoded, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 34u);
    ASSERT_EQ(bytes.substr(28, 6), std::string("\x08\0\x01\0\0\0", 6)) << "not an RLE8 file of 8 bits per pixel";

    // On 220 x 250 the menu shrinks the picture to half its size.
    SystemChoice system;
    system.screen = Size{220, 250};
    CheckSettings settings;
    settings.screens = {system.screen};
    std::vector<std::string> pictures;
    std::vector<std::string> findings;
    for (const std::filesystem::path& file : {plain, encoded}) {
        std::filesystem::copy_file(file, disc.Folder() / "b.bmp", std::filesystem::copy_options::overwrite_existing);
        const std::filesystem::path layout = disc.Folder() / "layout.bmp";
        ASSERT_EQ(Run(system, {}, layout), 0) << file;
        EXPECT_NE(LineStarting("  window's edge: ").find("and the picture, at BitmapRect"), std::string::npos)
            << LineStarting("  window's edge: ");
        std::ifstream drawn(layout, std::ios::binary);
        pictures.emplace_back(std::istreambuf_iterator<char>(drawn), std::istreambuf_iterator<char>());
        findings.emplace_back();
        for (const Finding& finding : CheckDisc(disc.Folder(), settings)) findings.back() += FormatFinding(finding) + "\n";
    }
    EXPECT_TRUE(pictures[0] == pictures[1]) << "the RLE8 file is drawn otherwise than the plain one";
    EXPECT_EQ(findings[1], findings[0]);
}

TEST_F(DryRunTest, APictureThatCannotBeWrittenFailsTheDryRun) {
    EXPECT_EQ(Run(SystemChoice{}, {}, disc.Folder() / "no-such-folder" / "layout.bmp"), 2);
    EXPECT_NE(LineStarting("picture: ").find("cannot be written"), std::string::npos) << LineStarting("picture: ");
}

TEST(LayoutFindings, NameOverlapsAndWhatLiesOutsideTheWindowOrTheScreen) {
    const auto element = [](const char* name, Rect rect) { return LayoutElement{name, name, rect, {"red", 0}, ""}; };
    const struct {
        std::vector<LayoutElement> elements;
        Rect window;
        std::vector<std::string> findings;
    } cases[] = {
        {{element("button 1", {10, 10, 50, 30}), element("button 2", {40, 20, 90, 40})},
         {100, 100, 300, 300},
         {"button 1 and button 2 overlap at 40,20,50,30"}},
        {{element("button 1", {10, 10, 50, 30}), element("button 2", {50, 10, 90, 30})}, {100, 100, 300, 300}, {}},
        {{element("button 1", {0, 0, 0, 0}), element("button 2", {0, 0, 0, 0})}, {100, 100, 300, 300}, {}},
        {{element("the help area", {150, 10, 250, 30})},
         {100, 100, 300, 300},
         {"the help area reaches outside the window (200x200)"}},
        {{element("the help area", {-50, 10, -10, 30})},
         {100, 100, 300, 300},
         {"the help area lies outside the window (200x200)"}},
        {{element("the language list", {150, 10, 250, 30})},
         {700, 100, 900, 300},
         {"the window reaches outside the 800x600 screen",
          "the language list reaches outside the window (200x200)",
          "the language list lies outside the 800x600 screen"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LayoutFindings(c.elements, c.window, Size{800, 600}), c.findings);
    }
}

TEST_F(DryRunTest, TheMenuStopsWhereItsStartUpWould) {
    SystemChoice system;
    disc.WriteIni({u"[General]", u"BitmapFile256=b.bmp", u"ButtonCount=2", u"LanguageCount=1", u"[Languages]",
                   u"language1=0x07,0"});
    system.everyLocaleInstalled = false;
    system.installedLanguages = {0x09};
    EXPECT_EQ(Run(system), 2);
    EXPECT_EQ(LineStarting("message box "),
              "message box \"Unsupported Language\": This program cannot run because the requested");
    EXPECT_EQ(lines.back(), "the menu stops here");

    disc.WriteIni({u"[General]", u"BitmapFile256=b.bmp", u"ButtonCount=1"});
    EXPECT_EQ(Run(SystemChoice{}), 2);
    EXPECT_EQ(LineStarting("message box "), "message box \"Error\": Couldn't read ini file at D:\\install.ini");
}

}  // namespace
