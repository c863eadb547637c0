#include "check/launch_findings.h"

#include <cstring>

#include "launch/launch_command.h"
#include "platform/text.h"

void CheckLaunch(const LaunchKeys& launch, const DiscFolder& disc, const std::string& programFolder,
                 std::vector<Finding>* findings) {
    if (launch.program[0] == 0 && launch.arguments[0] == 0) return;
    auto error = [&](int32_t line, const std::string& message, const std::string& hint = "") {
        findings->push_back(Finding{line, Severity::kError, message, hint});
    };
    const std::string key = launch.programKey;
    char narrow[kNarrowCapacity];
    const std::string path = ToNarrow(narrow, launch.program);
    const ProgramPlace place = PlaceOfProgram(path);
    if (place != ProgramPlace::kDisc) {
        error(launch.programLine,
              key + " " + path + " names a " + (place == ProgramPlace::kDrive ? "drive" : "network share") +
                  ": the menu puts its own folder in front of every program, so this launch always fails",
              "write the path relative to the disc's root");
    } else if (!path.empty() && disc.Find(path).empty() && !disc.AddedByBuild(path)) {
        error(launch.programLine, key + " " + path + " is not on the disc",
              std::string("list files that the disc build adds in ") + kBuildAddsFile);
    }

    LaunchCommand command;
    if (BuildLaunchCommand(programFolder.c_str(), launch.program, launch.arguments, &command) == 0) return;
    const size_t programBytes = path.size();
    const size_t argumentBytes = std::strlen(ToNarrow(narrow, launch.arguments));
    if (programBytes >= kProgramRoom) {
        error(launch.programLine, key + " is " + std::to_string(programBytes) +
                                      " bytes long; the launcher takes at most " + std::to_string(kProgramRoom - 1) +
                                      " and refuses the launch");
    } else if (argumentBytes >= kArgumentsRoom) {
        error(launch.argumentsLine != 0 ? launch.argumentsLine : launch.programLine,
              std::string(launch.argumentsKey) + " is " + std::to_string(argumentBytes) +
                  " bytes long; the launcher takes at most " + std::to_string(kArgumentsRoom - 1) +
                  " and refuses the launch");
    } else {
        error(launch.programLine != 0 ? launch.programLine : launch.argumentsLine,
              "the command line of " + key + " in the folder " + programFolder + " is longer than the launcher's " +
                  std::to_string(kCommandLineRoom - 1) + " bytes; it refuses the launch");
    }
}
