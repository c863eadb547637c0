#include "launch/program_launcher.h"

#include "config/menu_model.h"
#include "launch/launch_command.h"
#include "platform/holders.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/window.h"

namespace {

void ShowLaunchFailure(const char* fullPath, uint32_t code) {
    char message[kLaunchMessageRoom];
    {
        const platform::OwnedSystemErrorText systemText(platform::FetchSystemErrorText(code));
        FormatLaunchFailure(message, fullPath, code, systemText.Get());
    }
    platform::ShowMessageBox(nullptr, message, kLaunchFailureTitle, box::kSystemModal | box::kIconWarning);
}

}  // namespace

bool LaunchProgram(const char16_t* program, const char16_t* arguments) {
    const LaunchSettings settings = ChooseLaunchSettings(menu.unattended);
    LaunchCommand command;
    const uint32_t refusal = BuildLaunchCommand(menu.programFolder, program, arguments, &command);
    if (refusal != 0) {
        ShowLaunchFailure(command.fullPath, refusal);
        return false;
    }

    platform::ProcessInfo created{};
    if (platform::CreateProcessFromCommandLine(command.commandLine, settings.creationFlags, command.workingFolder,
                                               settings.startupFlags, settings.showState, &created)) {
        // Nothing reads the handles after the wait.
        const platform::ScopedProcessHandles handles(created);
        platform::WaitUntilIdle(created.process);
        return true;
    }

    // Documents, folders and files that are not programs open in their
    // associated program.
    const intptr_t opened = platform::ShellOpen(menu.mainWindow, command.fullPath, command.arguments,
                                                command.workingFolder, settings.showState);
    if (ShellOpenSucceeded(opened)) return false;
    // The thread's last error after the shell call, not the shell's result.
    ShowLaunchFailure(command.fullPath, platform::LastErrorCode());
    return false;
}
