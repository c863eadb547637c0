#include "check/disc_start_findings.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "check/autorun_inf.h"
#include "check/ini_text.h"
#include "platform/code_page.h"

namespace fs = std::filesystem;

namespace {

bool OnDisc(const CheckContext& check, const std::u16string& discPath) {
    return check.disc.Holds(Narrow(discPath));
}

// The program names the menu's exe at the disc's root ("tessaline.exe",
// "\tessaline.exe", ".\tessaline.exe").
bool NamesTheMenu(std::u16string program) {
    while (!program.empty() && (program[0] == u'\\' || program[0] == u'/')) program.erase(0, 1);
    if (program.compare(0, 2, u".\\") == 0 || program.compare(0, 2, u"./") == 0) program.erase(0, 2);
    return Fold(program) == Widen(kMenuExeName);
}

// The findings on autorun.inf's start program; true when they already say
// that the root's tessaline.exe is missing.
bool CheckOpen(CheckContext& check, const AutorunInf& inf, const std::string& file) {
    std::string key = "open=";
    AutorunValue open = inf.Key(u"open");
    // Windows XP SP2 and later also take shellexecute= in its place.
    if (open.text.empty() && inf.Key(u"shellexecute").line != 0) {
        key = "shellexecute=";
        open = inf.Key(u"shellexecute");
    }
    const AutorunCommand command = SplitAutorunCommand(open.text);
    if (command.program.empty()) {
        check.Report(Severity::kWarning, file, LineOr(open.line, inf.sectionLine),
                     "[autorun] has no open=: Windows starts nothing when the disc is inserted",
                     std::string("add open=") + kMenuExeName);
        return false;
    }
    const std::string program = Narrow(command.program);
    const bool menu = NamesTheMenu(command.program);
    if (!OnDisc(check, command.program)) {
        check.Report(Severity::kError, file, open.line,
                     key + " names " + program + ", which is not on the disc: Windows cannot start " +
                         (menu ? "the menu" : "it") + " when the disc is inserted",
                     menu ? std::string("copy tessaline.exe beside install.ini, or list it in ") + kBuildAddsFile +
                                " when the disc build adds it"
                          : std::string("list files that the disc build adds in ") + kBuildAddsFile);
        return menu;
    }
    check.needs.push_back(DiscNeed{command.program, key, file, open.line});
    if (!menu) {
        check.Report(Severity::kWarning, file, open.line,
                     key + " starts " + program + ", not the menu: inserting the disc does not show it",
                     std::string("open=") + kMenuExeName + " starts the menu, which reads the install.ini beside it");
    }
    return false;
}

void CheckIcon(CheckContext& check, const AutorunInf& inf, const std::string& file) {
    const AutorunValue icon = inf.Key(u"icon");
    if (icon.line == 0) return;
    const std::u16string iconFile = IconFileOf(icon.text);
    if (iconFile.empty() || !OnDisc(check, iconFile)) {
        check.Report(Severity::kWarning, file, icon.line,
                     "icon=" + Narrow(icon.text) + " names no file of the disc: Explorer shows the drive's usual icon",
                     "name an .ico file or a program of the disc, with an optional ,index");
        return;
    }
    check.needs.push_back(DiscNeed{iconFile, "icon=", file, icon.line});
}

// True when the findings already say that the root's tessaline.exe is missing.
bool CheckAutorunInf(CheckContext& check, const fs::path& path) {
    const std::string file = path.filename().string();
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Windows reads ANSI text in the code page of the system it runs on.
    const uint32_t systemCodePage = check.SystemFor(check.settings.system.userLanguageId).codePage;
    const uint32_t codePage = systemCodePage != 0 ? systemCodePage : platform::kSystemCodePage;
    AutorunInf inf;
    if (!ReadAutorunInf(bytes, codePage, &inf)) {
        check.Report(Severity::kWarning, file, 0,
                     "autorun.inf is not text in " + (codePage == platform::kSystemCodePage
                                                          ? std::string("the ANSI code page")
                                                          : "code page " + std::to_string(codePage)),
                     "save it as ANSI or as Unicode (UTF-16 with a byte-order mark)");
        return false;
    }
    if (inf.sectionLine == 0) {
        check.Report(Severity::kWarning, file, 0,
                     "autorun.inf has no [autorun] section: Windows starts nothing when the disc is inserted",
                     inf.utf8Mark ? "the file begins with a UTF-8 byte-order mark, which Windows reads as part of "
                                    "the first line: save it as ANSI or as Unicode"
                                  : "begin it with [autorun]");
        return false;
    }
    const bool menuMissing = CheckOpen(check, inf, file);
    CheckIcon(check, inf, file);
    return menuMissing;
}

}  // namespace

void CheckDiscStart(CheckContext& check) {
    const fs::path autorun = check.disc.Find(kAutorunFileName);
    std::error_code error;
    bool menuMissingReported = false;
    if (autorun.empty() || !fs::is_regular_file(autorun, error)) {
        check.Report(Severity::kNote, kAutorunFileName, 0,
                     "the disc has no autorun.inf: inserting it starts nothing, and the user starts the menu by "
                     "opening tessaline.exe on the disc (USB media ignore open= since Windows 7 in any case)",
                     "an autorun.inf with [autorun] and open=tessaline.exe starts the menu from a CD or DVD");
    } else {
        menuMissingReported = CheckAutorunInf(check, autorun);
    }
    if (!menuMissingReported && !OnDisc(check, Widen(kMenuExeName))) {
        check.Error(0, "there is no tessaline.exe beside install.ini: the menu cannot start from this disc",
                    std::string("copy it there, or list it in ") + kBuildAddsFile + " when the disc build adds it");
    }
}
