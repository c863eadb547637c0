#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "launch/launch_command.h"
#include "platform/process.h"

namespace {

TEST(LaunchCommand, TheExamples) {
    const struct {
        const char* folder;
        const char16_t* program;
        const char16_t* arguments;
        const char* fullPath;
        const char* workingFolder;
        const char* commandLine;
    } cases[] = {
        {"D:\\", u"setup.exe", u"", "D:\\setup.exe", "D:", "\"D:\\setup.exe\" "},
        {"E:\\disc\\", u"tools\\a.exe", u"/q", "E:\\disc\\tools\\a.exe", "E:\\disc\\tools",
         "\"E:\\disc\\tools\\a.exe\" /q"},
        // An absolute path is appended all the same.
        {"D:\\", u"C:\\Windows\\notepad.exe", u"", "D:\\C:\\Windows\\notepad.exe", "D:\\C:\\Windows",
         "\"D:\\C:\\Windows\\notepad.exe\" "},
        // An empty program names the program folder itself.
        {"D:\\disc\\", u"", u"x", "D:\\disc\\", "D:\\disc", "\"D:\\disc\\\" x"},
        {"D:\\", u"a b\\c d.exe", u"\"quoted arg\" /x", "D:\\a b\\c d.exe", "D:\\a b",
         "\"D:\\a b\\c d.exe\" \"quoted arg\" /x"},
        // Forward slashes are not folder separators for the working folder.
        {"D:\\", u"tools/a.exe", u"", "D:\\tools/a.exe", "D:", "\"D:\\tools/a.exe\" "},
        // Without any backslash the working folder is the whole full path.
        {"", u"a.exe", u"", "a.exe", "a.exe", "\"a.exe\" "},
    };
    for (const auto& c : cases) {
        LaunchCommand command;
        ASSERT_EQ(BuildLaunchCommand(c.folder, c.program, c.arguments, &command), 0u) << c.fullPath;
        EXPECT_STREQ(command.fullPath, c.fullPath);
        EXPECT_STREQ(command.workingFolder, c.workingFolder);
        EXPECT_STREQ(command.commandLine, c.commandLine);
    }
}

TEST(LaunchCommand, TextsAreConvertedToTheNarrowCodePage) {
    // The host build's narrow code page is UTF-8.
    LaunchCommand command;
    ASSERT_EQ(BuildLaunchCommand("D:\\", u"\u00E9t\u00E9\\setup.exe", u"/l=\u00FC", &command), 0u);
    EXPECT_STREQ(command.program, "\xC3\xA9t\xC3\xA9\\setup.exe");
    EXPECT_STREQ(command.arguments, "/l=\xC3\xBC");
    EXPECT_STREQ(command.commandLine, "\"D:\\\xC3\xA9t\xC3\xA9\\setup.exe\" /l=\xC3\xBC");
}

TEST(LaunchCommand, OverLongTextsAreRefusedNotCut) {
    const std::u16string program131 = std::u16string(127, u'p') + u".exe";
    const std::u16string program132 = u"p" + program131;
    const std::u16string arguments127(127, u'a');
    const std::u16string arguments128(128, u'a');
    // 66 two-byte characters: 132 bytes in the narrow code page.
    const std::u16string wideProgram(66, u'\u00E9');

    const struct {
        std::u16string program;
        std::u16string arguments;
        uint32_t result;
    } cases[] = {
        {program131, arguments127, 0},
        {program132, u"", kErrorFilenameTooLong},
        {u"a.exe", arguments128, kErrorFilenameTooLong},
        {wideProgram, u"", kErrorFilenameTooLong},
        {wideProgram.substr(1), u"", 0},
        {std::u16string(400, u'p'), std::u16string(400, u'a'), kErrorFilenameTooLong},
    };
    for (const auto& c : cases) {
        LaunchCommand command;
        EXPECT_EQ(BuildLaunchCommand("D:\\disc\\", c.program.c_str(), c.arguments.c_str(), &command), c.result)
            << c.program.size() << " " << c.arguments.size();
        if (c.result != 0) {
            // Nothing that could be started is left behind, but the message can name the file.
            EXPECT_STREQ(command.commandLine, "");
            EXPECT_EQ(std::strncmp(command.fullPath, "D:\\disc\\", 8), 0);
        }
    }
}

TEST(LaunchCommand, TheLongestTextsFitTheCommandLine) {
    // A program folder as deep as a module path allows, with the longest
    // program and arguments.
    const std::string folder = "C:\\" + std::string(254, 'f') + "\\";
    ASSERT_EQ(folder.size(), 258u);
    const std::u16string program = std::u16string(130, u'p') + u"\\";
    LaunchCommand command;
    // The working folder (388 bytes) does not fit its room.
    EXPECT_EQ(BuildLaunchCommand(folder.c_str(), program.c_str(), std::u16string(127, u'a').c_str(), &command),
              kErrorFilenameTooLong);

    const std::u16string flat(131, u'p');
    ASSERT_EQ(BuildLaunchCommand(folder.c_str(), flat.c_str(), std::u16string(127, u'a').c_str(), &command), 0u);
    EXPECT_EQ(std::strlen(command.commandLine), 1 + 258 + 131 + 2 + 127u);
    EXPECT_EQ(std::strlen(command.workingFolder), 257u);
}

TEST(LaunchCommand, AWorkingFolderTooLongForItsRoomIsRefused) {
    const std::string folder = "C:\\" + std::string(200, 'f') + "\\";
    LaunchCommand command;
    // Working folder of 263 bytes: fits.
    std::u16string program = std::u16string(59, u'd') + u"\\a.exe";
    EXPECT_EQ(BuildLaunchCommand(folder.c_str(), program.c_str(), u"", &command), 0u);
    EXPECT_EQ(std::strlen(command.workingFolder), 263u);
    // 264 bytes: does not.
    program = u"d" + program;
    EXPECT_EQ(BuildLaunchCommand(folder.c_str(), program.c_str(), u"", &command), kErrorFilenameTooLong);
}

TEST(LaunchSettings, UnattendedStartsMinimisedWithoutAConsoleWindow) {
    const LaunchSettings normal = ChooseLaunchSettings(false);
    EXPECT_EQ(normal.showState, 1);
    EXPECT_EQ(normal.creationFlags, 0x20u);
    EXPECT_EQ(normal.startupFlags, 65u);
    const LaunchSettings unattended = ChooseLaunchSettings(true);
    EXPECT_EQ(unattended.showState, 6);
    EXPECT_EQ(unattended.creationFlags, 0x08000020u);
    EXPECT_EQ(unattended.startupFlags, 65u);
}

TEST(LaunchFailure, TheMessageNamesTheFileTheCodeAndTheSystemText) {
    char message[kLaunchMessageRoom];
    FormatLaunchFailure(message, "D:\\setup.exe", 2, "File not found.\r\n");
    EXPECT_STREQ(message, "Could not launch file \"D:\\setup.exe\".\n\nError 2: File not found.\r\n");
    FormatLaunchFailure(message, "D:\\x", 0x4F1u, nullptr);
    EXPECT_STREQ(message, "Could not launch file \"D:\\x\".\n\nError 1265: Unknown error");
    // The code is shown as a signed number.
    FormatLaunchFailure(message, "D:\\x", 0x80070005u, "Access denied.");
    EXPECT_STREQ(message, "Could not launch file \"D:\\x\".\n\nError -2147024891: Access denied.");
}

TEST(LaunchFailure, ALongSystemTextIsCutToTheMessageRoom) {
    char message[kLaunchMessageRoom + 8];
    std::memset(message, '#', sizeof message);
    const std::string longText(3000, 't');
    FormatLaunchFailure(reinterpret_cast<char(&)[kLaunchMessageRoom]>(message), "D:\\x", 2, longText.c_str());
    EXPECT_EQ(std::strlen(message), kLaunchMessageRoom - 1);
    EXPECT_EQ(message[kLaunchMessageRoom], '#');
}

TEST(LaunchFailure, OnlyShellResultsAbove32AreSuccesses) {
    EXPECT_FALSE(ShellOpenSucceeded(0));
    EXPECT_FALSE(ShellOpenSucceeded(2));
    EXPECT_FALSE(ShellOpenSucceeded(31));
    EXPECT_FALSE(ShellOpenSucceeded(32));
    EXPECT_TRUE(ShellOpenSucceeded(33));
    EXPECT_TRUE(ShellOpenSucceeded(42));
}

}  // namespace
