// The dry run against the menu's own launcher: each command line and working
// folder it prints is what the launcher builds for that program, and each
// preparatory program is started exactly where the launch conditions allow.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "check/dry_run.h"
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
    int Run(const SystemChoice& system) {
        std::ostringstream out;
        const int status = DryRun(disc.Folder(), system, out);
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
