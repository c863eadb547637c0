// tessaline-check: finds the mistakes of a disc's install.ini before the
// disc is made, shows what the menu would do on a chosen system, and turns
// an INI file saved in another encoding into one the menu reads.
#include <iostream>
#include <string>
#include <vector>

#include "check/check_options.h"
#include "check/disc_check.h"
#include "check/dry_run.h"
#include "check/findings.h"
#include "check/to_utf16.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    CheckOptions options;
    std::string error;
    if (!ParseCheckOptions(arguments, &options, &error)) {
        std::cerr << "tessaline-check: " << error << "\n\n" << kCheckUsage;
        return kExitErrors;
    }
    switch (options.mode) {
        case CheckOptions::Mode::kHelp:
            std::cout << kCheckUsage;
            return kExitClean;
        case CheckOptions::Mode::kToUtf16: {
            std::string message;
            const bool converted = ConvertToUtf16(options.in, options.out, options.codePage, &message);
            (converted ? std::cout : std::cerr) << "tessaline-check: " << message << "\n";
            return converted ? kExitClean : kExitErrors;
        }
        case CheckOptions::Mode::kDryRun:
            return DryRun(options.discFolder, options.check.system, std::cout, options.picture);
        case CheckOptions::Mode::kCheck:
            break;
    }
    const std::vector<Finding> findings = CheckDisc(options.discFolder, options.check);
    for (const Finding& finding : findings) std::cout << FormatFinding(finding) << "\n";
    return ExitStatusOf(findings);
}
