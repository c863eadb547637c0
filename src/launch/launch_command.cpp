#include "launch/launch_command.h"

#include <cstdio>
#include <cstring>

#include "platform/process.h"
#include "platform/text.h"

namespace {

// snprintf that says whether the whole text fitted.
template <size_t N, typename... Values>
bool FormatInto(char (&dst)[N], const char* pattern, Values... values) {
    const int length = std::snprintf(dst, N, pattern, values...);
    return length >= 0 && static_cast<size_t>(length) < N;
}

}  // namespace

LaunchSettings ChooseLaunchSettings(bool unattended) {
    const uint32_t startupFlags = process::kUseShowWindow | process::kForceOnFeedback;
    if (unattended) {
        return {process::kShowMinimized, process::kNormalPriorityClass | process::kCreateNoWindow, startupFlags};
    }
    return {process::kShowNormal, process::kNormalPriorityClass, startupFlags};
}

uint32_t BuildLaunchCommand(const char* programFolder, const char16_t* program, const char16_t* arguments,
                            LaunchCommand* command) {
    char narrowProgram[kNarrowCapacity];
    char narrowArguments[kNarrowCapacity];
    ToNarrow(narrowProgram, program);
    ToNarrow(narrowArguments, arguments);
    const LaunchOverflow overflow = BuildNarrowLaunchCommand(programFolder, narrowProgram, narrowArguments, command);
    return overflow == LaunchOverflow::kNone ? 0 : kErrorFilenameTooLong;
}

LaunchOverflow BuildNarrowLaunchCommand(const char* programFolder, const char* program, const char* arguments,
                                        LaunchCommand* command) {
    *command = LaunchCommand{};
    // The program text is never examined: an absolute path or an empty text
    // is appended to the program folder all the same.
    const bool pathFits = FormatInto(command->fullPath, "%s%s", programFolder, program);

    // A text that does not fit is refused rather than cut: a cut path or
    // argument list could start another program or do something else.
    if (!FormatInto(command->program, "%s", program)) return LaunchOverflow::kProgram;
    if (!FormatInto(command->arguments, "%s", arguments)) return LaunchOverflow::kArguments;
    if (!pathFits) return LaunchOverflow::kFullPath;

    const char* lastBackslash = std::strrchr(command->fullPath, '\\');
    const size_t folderLength =
        lastBackslash != nullptr ? static_cast<size_t>(lastBackslash - command->fullPath) : std::strlen(command->fullPath);
    if (folderLength >= kWorkingFolderRoom) return LaunchOverflow::kWorkingFolder;
    std::memcpy(command->workingFolder, command->fullPath, folderLength);
    command->workingFolder[folderLength] = 0;

    // The space after the closing quote is always there, also without arguments.
    if (!FormatInto(command->commandLine, "\"%s%s\" %s", programFolder, command->program, command->arguments)) {
        return LaunchOverflow::kCommandLine;
    }
    return LaunchOverflow::kNone;
}

bool ShellOpenSucceeded(intptr_t result) {
    return result > 32;
}

void FormatLaunchFailure(char (&message)[kLaunchMessageRoom], const char* fullPath, uint32_t code,
                         const char* systemText) {
    // A message longer than its room is cut; it is only shown.
    std::snprintf(message, kLaunchMessageRoom, "Could not launch file \"%s\".\n\nError %d: %s", fullPath,
                  static_cast<int>(static_cast<int32_t>(code)), systemText != nullptr ? systemText : "Unknown error");
}
