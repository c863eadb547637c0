#include "check/dry_run.h"

#include <cstdio>
#include <string>

#include "check/disc_speed.h"
#include "check/disc_start_findings.h"
#include "check/layout_picture.h"
#include "config/menu_model.h"
#include "launch/button_launches.h"
#include "launch/launch_command.h"
#include "launch/launch_conditions.h"
#include "launch/unattended.h"
#include "platform/text.h"

namespace {

std::string Narrow(const char16_t* text) {
    char narrow[kNarrowCapacity];
    return ToNarrow(narrow, text);
}

std::string RectText(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

std::string SizeText(int32_t width, int32_t height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

std::string KindName(int32_t kind) {
    switch (kind) {
        case kOs9x: return "9x";
        case kOsPersonal: return "pers (NT family, personal)";
        case kOsProfessional: return "pro (NT family)";
        case kOsServer: return "srv (NT family, server)";
        default: return "NT family with an unreadable product type";
    }
}

std::string ColorsText(int32_t colors) {
    return colors == -1 ? "more than 256 colours" : std::to_string(colors) + " colours";
}

std::string Milliseconds(double milliseconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f ms", milliseconds);
    return text;
}

// What start-up took from the disc, file by file, and how long a disc takes
// to give it.
void PrintReads(const StartupResult& result, const DiscFolder& disc, std::ostream& out) {
    // A disc folder without the program, which the build adds, cannot say its size.
    if ((result.reads.empty() || result.reads.front().file.filename() != kMenuExeName) &&
        disc.AddedByBuild(kMenuExeName)) {
        out << "start-up reads " << kMenuExeName << ": added when the disc is made, not counted\n";
    }
    uint64_t total = 0;
    for (const platform::offline::FileRead& read : result.reads) {
        out << "start-up reads " << read.file.lexically_relative(disc.Root()).string() << ": " << read.bytes
            << " bytes, ";
        if (read.mapped) {
            out << "mapped whole by the system\n";
        } else {
            out << "in " << read.calls << (read.calls == 1 ? " read\n" : " reads\n");
        }
        total += read.bytes;
    }
    const uint32_t files = static_cast<uint32_t>(result.reads.size());
    out << "start-up reads " << total << " bytes from " << files << (files == 1 ? " file: " : " files: ")
        << Milliseconds(ReadMilliseconds(kDvd16x, total, files)) << " from " << kDvd16x.name << ", "
        << Milliseconds(ReadMilliseconds(kCd48x, total, files)) << " from " << kCd48x.name << " (a seek of "
        << Milliseconds(kDvd16x.seekMilliseconds) << " for each file, then " << kDvd16x.bytesPerSecond / 1e6
        << " and " << kCd48x.bytesPerSecond / 1e6 << " MB/s)\n";
}

void PrintStop(const StartupResult& result, std::ostream& out) {
    for (const auto& box : result.boxes) out << "message box \"" << box.title << "\": " << box.text << "\n";
    out << "the menu stops here\n";
}

// The launches as the launcher builds them.
void PrintLaunches(const std::vector<LaunchRequest>& launches, const std::string& indent, std::ostream& out) {
    for (const LaunchRequest& launch : launches) {
        LaunchCommand command;
        if (BuildLaunchCommand(menu.programFolder, launch.program, launch.arguments, &command) != 0) {
            out << indent << "refused: " << command.fullPath
                << " with its arguments exceeds the launcher's limits (\"Could not launch\")\n";
            continue;
        }
        out << indent << "command line: " << command.commandLine << "\n";
        out << indent << "working folder: " << command.workingFolder << "\n";
    }
}

}  // namespace

std::string PreparatoryVerdict(int32_t index) {
    const Button& button = menu.buttons[index];
    if (button.path[0] == 0 && button.args[0] == 0) return "no (a click starts nothing: the button has no Path or Args)";
    if (button.preRun[0] == 0 && button.preArgs[0] == 0) return "no (the button has no PreRun)";
    char condition[kNarrowCapacity];
    ToNarrow(condition, button.preCond);
    if (condition[0] == 0) return "yes (no PreCond: every system)";
    const std::string quoted = "PreCond \"" + std::string(condition) + "\"";
    if (PreRunAllowed(index)) return "yes (" + quoted + " admits this system)";
    ConditionFields fields;
    SplitCondition(condition, &fields);
    const int32_t minimum = ReadConditionInteger(fields.minimum);
    const int32_t maximum = ReadConditionInteger(fields.maximum);
    const std::string version = std::to_string(menu.osVersion);
    if (minimum > menu.osVersion) return "no (" + quoted + ": version " + version + " is below its minimum)";
    if (maximum != 0 && maximum < menu.osVersion) return "no (" + quoted + ": version " + version + " is above its maximum)";
    return "no (" + quoted + ": the word " + fields.osWord + " does not admit " + KindName(menu.osKind) + ")";
}

int DryRun(const std::filesystem::path& discFolder, const SystemChoice& system, std::ostream& out,
           const std::filesystem::path& picture) {
    const DiscFolder disc(discFolder);
    char userTag[16];
    std::snprintf(userTag, sizeof userTag, "0x%2.2X", static_cast<unsigned>(system.userLanguageId & 0x3FFu));
    out << "system: " << KindName(system.osKind) << ", version " << system.osVersion << ", user language "
        << userTag << ", screen " << SizeText(system.screen.width, system.screen.height) << ", "
        << ColorsText(system.displayColors) << ", program folder " << system.programFolder << "\n";

    const StartupResult start = RunStartup(disc, system, false);
    if (!start.bitmapName.empty()) {
        out << "bitmap: " << start.bitmapName << " (" << (start.tookBitmapFile256 ? "BitmapFile256" : "BitmapFile016")
            << ")";
        if (start.bitmap.loadsAsIs) {
            out << ", " << SizeText(start.bitmap.width, start.bitmap.height) << ", " << start.bitmap.bitsPerPixel
                << " bits per pixel";
        }
        out << "\n";
        char scale[32];
        std::snprintf(scale, sizeof scale, "%.4g", static_cast<double>(start.scale));
        out << "scale: " << scale << "\n";
    }
    PrintReads(start, disc, out);
    if (!start.runs) {
        if (!picture.empty()) out << "picture: none, the window does not open\n";
        PrintStop(start, out);
        return 2;
    }

    if (menu.languageCount == 0) {
        out << "language: none offered; the sections are named with the empty tag, such as [Prompt-]\n";
    } else {
        out << "language: " << Narrow(menu.languageTags[menu.languageIndex]) << " \""
            << Narrow(menu.languageNames[menu.languageIndex]) << "\" (entry " << menu.languageIndex + 1 << " of "
            << menu.languageCount << ")\n";
    }
    out << "picture shown at: " << SizeText(menu.bitmapSize.width, menu.bitmapSize.height) << "\n";
    out << "window: " << RectText(start.window) << " ("
        << SizeText(start.window.right - start.window.left, start.window.bottom - start.window.top) << ")\n";
    out << "BitmapRect: " << RectText(menu.bitmapRect) << "\n";
    out << "ButtonPaneRect: " << RectText(menu.buttonPaneRect) << (menu.buttonPane3D ? ", with a bevel" : "") << "\n";
    out << "HelpRect: " << RectText(menu.helpRect) << "\n";
    if (menu.languageCount > 1) out << "language list: " << RectText(menu.languageBoxRect) << "\n";
    out << "copyright: " << menu.copyrightPos.x << "," << menu.copyrightPos.y << "\n";

    const int32_t count = menu.buttonCount < kMaxButtons ? menu.buttonCount : kMaxButtons;
    for (int32_t i = 0; i < count; ++i) {
        const Button& button = menu.buttons[i];
        out << "button " << i + 1 << " \"" << Narrow(button.name) << "\": " << RectText(button.rect) << "\n";
        out << "  preparatory program: " << PreparatoryVerdict(i) << "\n";
        PrintLaunches(ButtonLaunches(i), "  ", out);
        if (button.exitAfter) out << "  then the menu ends\n";
    }
    if (!picture.empty() && !WriteLayoutPicture(picture, disc, start, system.screen, out)) return 2;

    const StartupResult unattended = RunStartup(disc, system, true);
    if (!unattended.runs) {
        out << "-s:\n";
        PrintStop(unattended, out);
        return 0;
    }
    const std::vector<LaunchRequest> launches = UnattendedLaunches();
    out << "-s starts" << (launches.empty() ? " nothing" : ", in order:") << "\n";
    PrintLaunches(launches, "  ", out);
    return 0;
}
