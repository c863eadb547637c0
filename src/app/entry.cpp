#include "app/entry.h"

#include "app/menu_window.h"
#include "app/run_menu.h"
#include "app/startup_rules.h"
#include "config/ini_reader.h"
#include "platform/holders.h"
#include "platform/messages.h"
#include "platform/system.h"
#include "platform/window.h"

bool InstallationsPending() {
    const platform::OwnedLibrary library(platform::LoadSystemLibrary("cfgmgr32.dll"));
    if (library.Get() == nullptr) return false;
    uint32_t result = 0;
    const bool called = platform::CallWaitNoPendingInstallEvents(library.Get(), 0, &result);
    return called && result == kInstallationsPendingResult;
}

namespace {

// A second start hands over to the open menu, or to its message box.
bool HandOverToOpenMenu() {
    platform::Window open = platform::FindTopLevelWindow(kMenuWindowClass);
    if (open == nullptr) return false;
    platform::BringToForeground(open);
    platform::Window popup = platform::LastActivePopup(open);
    if (popup != nullptr && popup != open) platform::BringToForeground(popup);
    return true;
}

// The message for a failure that carries no text of its own.
void ShowUnknownFailure() {
    platform::ShowMessageBox(nullptr, "An unknown error has occured, and the application will now exit",
                             "Application error", box::kIconWarning);
}

}  // namespace

int RunProgram(const char* argumentText) {
    // Before anything loads a library: none may come from beside the
    // program (a disc image, a download folder) or from the current folder.
    platform::RestrictLibrarySearchToSystemFolder();
    if (InstallationsPending()) return 0;
    if (HandOverToOpenMenu()) return 0;
    const bool unattended = HasUnattendedSwitch(argumentText);

    // Nothing unwinds past this point: the reader's load failures carry their
    // text, anything else gets the general one.
    try {
        const StartupEnd end = RunMenu(unattended);
        if (end.stop == StartupStop::kError) {
            platform::ShowMessageBox(nullptr, end.text.c_str(), "Error", box::kIconError);
        } else if (end.stop == StartupStop::kNoWindow) {
            ShowUnknownFailure();
        }
    } catch (const IniLoadFailure& failure) {
        platform::ShowMessageBox(nullptr, failure.what(), "Application error", box::kIconWarning);
    } catch (...) {
        ShowUnknownFailure();
    }
    return 0;
}
