#pragma once
// What the launcher hands the system: the narrow texts of one launch and the
// settings that the unattended mode changes.

#include <cstddef>
#include <cstdint>

// Room of each text in bytes, terminator included.
constexpr size_t kProgramRoom = 132;
constexpr size_t kArgumentsRoom = 128;
constexpr size_t kFullPathRoom = 520;
constexpr size_t kWorkingFolderRoom = 264;
constexpr size_t kCommandLineRoom = 520;
constexpr size_t kLaunchMessageRoom = 1024;

// ERROR_FILENAME_EXCED_RANGE: the code a refused over-long launch reports.
constexpr uint32_t kErrorFilenameTooLong = 206;

constexpr const char* kLaunchFailureTitle = "Could not launch";

struct LaunchSettings {
    int showState;           // for the startup record and the shell
    uint32_t creationFlags;
    uint32_t startupFlags;
};

LaunchSettings ChooseLaunchSettings(bool unattended);

struct LaunchCommand {
    char program[kProgramRoom];
    char arguments[kArgumentsRoom];
    char fullPath[kFullPathRoom];
    char workingFolder[kWorkingFolderRoom];
    char commandLine[kCommandLineRoom];
};

// Converts the wide program and argument texts into the ANSI code page and
// builds the full path, the working folder and the quoted command line.
// Returns 0, or kErrorFilenameTooLong when a text does not fit its room; the
// full path is formed in either case, for the failure message.
uint32_t BuildLaunchCommand(const char* programFolder, const char16_t* program, const char16_t* arguments,
                            LaunchCommand* command);

// The first text of a launch, in the order they are built, that does not fit
// its room.
enum class LaunchOverflow { kNone, kProgram, kArguments, kFullPath, kWorkingFolder, kCommandLine };

// BuildLaunchCommand of texts already in the ANSI code page.
LaunchOverflow BuildNarrowLaunchCommand(const char* programFolder, const char* program, const char* arguments,
                                        LaunchCommand* command);

// True when the shell's result value means the file was opened.
bool ShellOpenSucceeded(intptr_t result);

// The warning text for a launch that failed with `code`; `systemText` is the
// system's text for it, or null when it has none.
void FormatLaunchFailure(char (&message)[kLaunchMessageRoom], const char* fullPath, uint32_t code,
                         const char* systemText);
