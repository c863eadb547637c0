#pragma once
// Reading tessaline-check's dry-run report: the launches it prints under a
// heading, each a command line and the working folder under it.

#include <ostream>
#include <string>
#include <vector>

namespace dry_run {

struct Launch {
    std::string commandLine;
    std::string workingFolder;
    bool operator==(const Launch& other) const {
        return commandLine == other.commandLine && workingFolder == other.workingFolder;
    }
};

inline std::ostream& operator<<(std::ostream& out, const Launch& launch) {
    return out << launch.commandLine << " in " << launch.workingFolder;
}

// The launches printed in the indented block under the line that begins
// with `heading`.
inline std::vector<Launch> LaunchesUnder(const std::vector<std::string>& lines, const std::string& heading) {
    std::vector<Launch> launches;
    bool inside = false;
    for (const std::string& line : lines) {
        if (line.compare(0, heading.size(), heading) == 0) {
            inside = true;
        } else if (inside && line.compare(0, 2, "  ") != 0) {
            break;
        } else if (inside && line.compare(0, 16, "  command line: ") == 0) {
            launches.push_back(Launch{line.substr(16), ""});
        } else if (inside && line.compare(0, 18, "  working folder: ") == 0 && !launches.empty()) {
            launches.back().workingFolder = line.substr(18);
        }
    }
    return launches;
}

}  // namespace dry_run
