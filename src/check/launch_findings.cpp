#include "check/launch_findings.h"

#include <cstring>

#include "check/missing_file_hint.h"
#include "launch/launch_command.h"
#include "platform/code_page.h"
#include "platform/text.h"

namespace {

std::string Bytes(size_t count) {
    return std::to_string(count) + " bytes";
}

// The working folder is the full path up to its last backslash, or all of it.
size_t FolderLength(const std::string& fullPath) {
    const size_t backslash = fullPath.rfind('\\');
    return backslash != std::string::npos ? backslash : fullPath.size();
}

}  // namespace

void CheckLaunch(const LaunchKeys& launch, const DiscFolder& disc, const std::string& programFolder,
                 const LanguageSystem& system, std::vector<Finding>* findings) {
    if (launch.program[0] == 0 && launch.arguments[0] == 0) return;
    auto report = [&](Severity severity, int32_t line, const std::string& message, const std::string& hint = "") {
        findings->push_back(Finding{line, severity, message, hint});
    };
    const std::string key = launch.programKey;
    const int32_t argumentsLine = launch.argumentsLine != 0 ? launch.argumentsLine : launch.programLine;
    const int32_t programLine = launch.programLine != 0 ? launch.programLine : launch.argumentsLine;
    if (launch.program[0] == 0 && std::strcmp(launch.programKey, "PreRun") == 0) {
        // The launcher then starts the program folder itself: the shell opens it.
        report(Severity::kWarning, argumentsLine,
               "PreArgs without PreRun: where PreCond allows, the preparatory step opens the disc's folder, on a "
               "click and with -s",
               "name the preparatory program in PreRun, or remove PreArgs");
    }

    const uint32_t codePage = system.codePage != 0 ? system.codePage : platform::kSystemCodePage;
    std::string program;
    std::string arguments;
    const platform::CodePageFit programFit = platform::FitInCodePage(codePage, launch.program, &program);
    platform::FitInCodePage(codePage, launch.arguments, &arguments);

    // As this build prints it, for the messages and to look for the file.
    char narrow[kNarrowCapacity];
    const std::string path = ToNarrow(narrow, launch.program);
    const ProgramPlace place = PlaceOfProgram(path);
    if (system.codePage != 0 && programFit == platform::CodePageFit::kLacksCharacters) {
        report(Severity::kError, launch.programLine,
               key + " " + path + " has characters that the ANSI code page " + std::to_string(system.codePage) +
                   " of a " + system.tag + " system lacks (" +
                   CharactersLacking(system.codePage, launch.program, 3) +
                   "): they become ? or a look-alike, so this launch always fails",
               "name the program with characters of that code page");
    } else if (place != ProgramPlace::kDisc) {
        report(Severity::kError, launch.programLine,
               key + " " + path + " names a " + (place == ProgramPlace::kDrive ? "drive" : "network share") +
                   ": the menu puts its own folder in front of every program, so this launch always fails",
               "write the path relative to the disc's root");
    } else if (!path.empty() && !disc.Holds(path)) {
        report(Severity::kError, launch.programLine, key + " " + path + " is not on the disc",
               MissingFileHint(disc, path, true));
    }
    if (place == ProgramPlace::kDisc && path.find('/') != std::string::npos && path.find("://") == std::string::npos) {
        std::string backslashed = path;
        for (char& c : backslashed) {
            if (c == '/') c = '\\';
        }
        const std::string full = programFolder + path;
        std::string folder = full.substr(0, FolderLength(full));
        if (!folder.empty() && folder.back() == ':') folder += '\\';
        report(Severity::kWarning, launch.programLine,
               key + " " + path + " holds a forward slash: the menu cuts the working folder at the last backslash, "
                                  "so the program starts in " + folder + " instead of its own folder",
               "write " + backslashed);
    }
    const std::string written = ToNarrow(narrow, launch.arguments);
    const size_t percent = written.find('%');
    const size_t closing = percent == std::string::npos ? std::string::npos : written.find('%', percent + 1);
    if (closing != std::string::npos && closing > percent + 1 &&
        written.find_first_of(" \t\"", percent) > closing) {
        report(Severity::kWarning, argumentsLine,
               std::string(launch.argumentsKey) + " holds " + written.substr(percent, closing - percent + 1) +
                   ", which the menu hands over as written: no variable is expanded",
               "the program receives the text " + written.substr(percent, closing - percent + 1) + " itself");
    }

    LaunchCommand command;
    const std::string fullPath = programFolder + program;
    const std::string inFolder = " of " + key + " in the folder " + programFolder;
    const std::string refused = "; the launcher takes at most ";
    switch (BuildNarrowLaunchCommand(programFolder.c_str(), program.c_str(), arguments.c_str(), &command)) {
        case LaunchOverflow::kNone:
            break;
        case LaunchOverflow::kProgram:
            report(Severity::kError, programLine,
                   key + " is " + Bytes(program.size()) + " long" + refused + std::to_string(kProgramRoom - 1) +
                       " and refuses the launch");
            break;
        case LaunchOverflow::kArguments:
            report(Severity::kError, argumentsLine,
                   std::string(launch.argumentsKey) + " is " + Bytes(arguments.size()) + " long" + refused +
                       std::to_string(kArgumentsRoom - 1) + " and refuses the launch");
            break;
        case LaunchOverflow::kFullPath:
            report(Severity::kError, programLine,
                   "the full path" + inFolder + " is " + Bytes(fullPath.size()) + " long" + refused +
                       std::to_string(kFullPathRoom - 1) + " and refuses the launch");
            break;
        case LaunchOverflow::kWorkingFolder:
            report(Severity::kError, programLine,
                   "the working folder" + inFolder + " is " + Bytes(FolderLength(fullPath)) + " long" + refused +
                       std::to_string(kWorkingFolderRoom - 1) + " and refuses the launch");
            break;
        case LaunchOverflow::kCommandLine:
            report(Severity::kError, programLine,
                   "the command line" + inFolder + " is " + Bytes(fullPath.size() + 3 + arguments.size()) + " long" +
                       refused + std::to_string(kCommandLineRoom - 1) + " and refuses the launch");
            break;
    }
}
