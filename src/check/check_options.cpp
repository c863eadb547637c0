#include "check/check_options.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "launch/launch_conditions.h"

const char* const kCheckUsage =
    "usage: tessaline-check [options] DISC_FOLDER\n"
    "       tessaline-check --dry-run [--picture FILE.bmp] [options] DISC_FOLDER\n"
    "       tessaline-check --to-utf16 IN OUT [--codepage N]\n"
    "\n"
    "Checks DISC_FOLDER/install.ini as the menu reads it and reports each mistake as\n"
    "install.ini:LINE: error: ... or warning: ...; exit status 0 when clean, 1 with\n"
    "warnings only, 2 with errors. --dry-run prints what the menu would do instead;\n"
    "--picture draws its screen with the window's elements outlined, as a 24-bit BMP.\n"
    "\n"
    "  --os 9x|nt|pers|pro|srv  the kind of system (default nt, the same as pro)\n"
    "  --version N              its version, major x 100 + minor, M.m or M.m.build\n"
    "                           (default 601; 410 with --os 9x)\n"
    "  --lang 0xNN              the user's language (default 0x09)\n"
    "  --locales 0xNN,...       the languages installed (default: every one)\n"
    "  --screen WxH             the screen; the check takes every one given (default\n"
    "                           800x600 up to 3840x2160), the dry run one (1024x768)\n"
    "  --colors N               the display's colours (default: more than 256)\n"
    "  --folder DIR             where the disc is on that system (default D:\\)\n"
    "  --codepage N             the code page of an ANSI file to convert\n";

namespace {

// Decimal digits, or hexadecimal ones after 0x where `hexadecimal` allows
// them. A leading 0 is not octal: --version 0601 is 601.
bool ReadNumber(const std::string& text, long* value, bool hexadecimal = false) {
    const bool hex = hexadecimal && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    const unsigned char first = digits.empty() ? 0 : static_cast<unsigned char>(digits[0]);
    if (hex ? !std::isxdigit(first) : !std::isdigit(first)) return false;
    char* end = nullptr;
    errno = 0;
    *value = std::strtol(digits.c_str(), &end, hex ? 16 : 10);
    return errno == 0 && *end == 0;
}

// 601, 6.1, or 10.0.19045 as Windows writes its own version: the build
// number plays no part in a launch condition.
bool ReadVersion(std::string text, int32_t* version) {
    const size_t second = text.find('.', text.find('.') + 1);
    if (text.find('.') != std::string::npos && second != std::string::npos) {
        long build = 0;
        if (!ReadNumber(text.substr(second + 1), &build)) return false;
        text.erase(second);
    }
    const size_t dot = text.find('.');
    long major = 0;
    long minor = 0;
    if (dot == std::string::npos) {
        if (!ReadNumber(text, &major) || major > 100000) return false;
        *version = static_cast<int32_t>(major);
        return true;
    }
    if (!ReadNumber(text.substr(0, dot), &major) || !ReadNumber(text.substr(dot + 1), &minor) || minor > 99 ||
        major > 1000) {
        return false;
    }
    *version = static_cast<int32_t>(major * 100 + minor);
    return true;
}

bool ReadSize(const std::string& text, Size* size) {
    const size_t x = text.find_first_of("xX");
    long width = 0;
    long height = 0;
    if (x == std::string::npos || !ReadNumber(text.substr(0, x), &width) || !ReadNumber(text.substr(x + 1), &height) ||
        width <= 0 || height <= 0 || width > 100000 || height > 100000) {
        return false;
    }
    *size = Size{static_cast<int32_t>(width), static_cast<int32_t>(height)};
    return true;
}

bool ReadLanguage(const std::string& text, uint16_t* language) {
    long value = 0;
    if (!ReadNumber(text, &value, true) || value > 0xFFFF) return false;
    *language = static_cast<uint16_t>(value);
    return true;
}

}  // namespace

bool ParseCheckOptions(const std::vector<std::string>& arguments, CheckOptions* options, std::string* error) {
    SystemChoice& system = options->check.system;
    bool versionGiven = false;
    std::vector<Size> screens;
    std::vector<std::string> operands;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        auto value = [&](std::string* into) {
            if (i + 1 >= arguments.size()) {
                *error = option + " needs a value";
                return false;
            }
            *into = arguments[++i];
            return true;
        };
        std::string text;
        if (option == "--help" || option == "-h") {
            options->mode = CheckOptions::Mode::kHelp;
            return true;
        } else if (option == "--dry-run") {
            options->mode = CheckOptions::Mode::kDryRun;
        } else if (option == "--picture") {
            if (!value(&options->picture)) return false;
        } else if (option == "--to-utf16") {
            options->mode = CheckOptions::Mode::kToUtf16;
        } else if (option == "--os") {
            if (!value(&text)) return false;
            if (text == "9x") {
                system.osKind = kOs9x;
            } else if (text == "nt" || text == "pro") {
                system.osKind = kOsProfessional;
            } else if (text == "pers") {
                system.osKind = kOsPersonal;
            } else if (text == "srv") {
                system.osKind = kOsServer;
            } else {
                *error = "--os takes 9x, nt, pers, pro or srv, not " + text;
                return false;
            }
        } else if (option == "--version") {
            if (!value(&text)) return false;
            if (!ReadVersion(text, &system.osVersion)) {
                *error = "--version takes a number such as 501 or 5.1, not " + text;
                return false;
            }
            versionGiven = true;
        } else if (option == "--lang") {
            if (!value(&text)) return false;
            if (!ReadLanguage(text, &system.userLanguageId)) {
                *error = "--lang takes a language identifier such as 0x09, not " + text;
                return false;
            }
            options->check.languageGiven = true;
        } else if (option == "--locales") {
            if (!value(&text)) return false;
            system.everyLocaleInstalled = false;
            system.installedLanguages.clear();
            for (size_t start = 0; start <= text.size();) {
                const size_t comma = std::min(text.find(',', start), text.size());
                uint16_t language = 0;
                if (!ReadLanguage(text.substr(start, comma - start), &language)) {
                    *error = "--locales takes language identifiers separated by commas, not " + text;
                    return false;
                }
                system.installedLanguages.push_back(static_cast<uint16_t>(language & 0x3FF));
                start = comma + 1;
            }
        } else if (option == "--screen") {
            Size size{};
            if (!value(&text)) return false;
            if (!ReadSize(text, &size)) {
                *error = "--screen takes a size such as 1024x768, not " + text;
                return false;
            }
            screens.push_back(size);
        } else if (option == "--colors") {
            long colors = 0;
            if (!value(&text)) return false;
            if (!ReadNumber(text, &colors) || colors < 2) {
                *error = "--colors takes a number of colours such as 256, not " + text;
                return false;
            }
            system.displayColors = colors > 256 ? -1 : static_cast<int32_t>(colors);
        } else if (option == "--folder") {
            if (!value(&system.programFolder)) return false;
            if (system.programFolder.empty() || system.programFolder.back() != '\\') system.programFolder += '\\';
        } else if (option == "--codepage") {
            long codePage = 0;
            if (!value(&text)) return false;
            if (!ReadNumber(text, &codePage) || codePage == 0 || codePage > 65535) {
                *error = "--codepage takes a code page number such as 1252, not " + text;
                return false;
            }
            options->codePage = static_cast<uint32_t>(codePage);
        } else if (option.size() > 1 && option[0] == '-') {
            *error = "unknown option " + option;
            return false;
        } else {
            operands.push_back(option);
        }
    }

    if (!versionGiven && system.osKind == kOs9x) system.osVersion = 410;
    if (options->mode == CheckOptions::Mode::kToUtf16) {
        if (operands.size() != 2) {
            *error = "--to-utf16 takes IN and OUT";
            return false;
        }
        options->in = operands[0];
        options->out = operands[1];
        return true;
    }
    if (operands.size() != 1) {
        *error = operands.empty() ? "name the disc folder" : "name one disc folder";
        return false;
    }
    options->discFolder = operands[0];
    if (!options->picture.empty() && options->mode != CheckOptions::Mode::kDryRun) {
        *error = "--picture goes with --dry-run";
        return false;
    }
    if (options->mode == CheckOptions::Mode::kDryRun) {
        if (screens.size() > 1) {
            *error = "the dry run takes one --screen";
            return false;
        }
        if (!screens.empty()) system.screen = screens[0];
    } else if (!screens.empty()) {
        options->check.screens = screens;
    }
    return true;
}
