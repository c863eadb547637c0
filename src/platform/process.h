#pragma once
// Starting programs: process creation from a command line, the wait until a
// new program is idle, the shell's "open" action, and the system's texts for
// error codes.

#include <cstdint>

#include "platform/types.h"

// The system's numbers for starting a program, as the logic chooses them.
namespace process {
constexpr uint32_t kNormalPriorityClass = 0x00000020u;
constexpr uint32_t kCreateNoWindow = 0x08000000u;
constexpr uint32_t kUseShowWindow = 0x00000001u;    // startup record flag
constexpr uint32_t kForceOnFeedback = 0x00000040u;  // startup record flag
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 6;
}  // namespace process

namespace platform {

struct ProcessObject;
struct ThreadObject;
using Process = ProcessObject*;
using Thread = ThreadObject*;

// What a successful process creation hands back.
struct ProcessInfo {
    Process process;
    Thread thread;
    uint32_t processId;
    uint32_t threadId;
};

// Creates a process from the command line alone (no application name), with
// no security attributes, no inherited handles, the inherited environment,
// the working folder, and a startup record that is zero except for its size,
// `startupFlags` and `showState`. The system may write into `commandLine`.
// False when the system refuses; the thread's last error then says why.
[[nodiscard]] bool CreateProcessFromCommandLine(char* commandLine, uint32_t creationFlags,
                                                const char* workingFolder, uint32_t startupFlags, int showState,
                                                ProcessInfo* info);

// Returns when the process waits for user input, with no time limit.
void WaitUntilIdle(Process process);

void CloseProcessInfo(const ProcessInfo& info);

// The shell's "open" action on a file, document or folder; returns the
// shell's result value (above 32 on success).
[[nodiscard]] intptr_t ShellOpen(Window owner, const char* file, const char* parameters, const char* folder,
                                 int showState);

uint32_t LastErrorCode();

// The system's text for an error code in the user's language, allocated by
// the system; null when the system has none. Release it with
// ReleaseSystemErrorText.
[[nodiscard]] char* FetchSystemErrorText(uint32_t code);
void ReleaseSystemErrorText(char* text);

}  // namespace platform
