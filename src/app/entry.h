#pragma once

// The program: the early stops, the switch, and the menu inside a guard that
// shows whatever failure reaches it. Always returns 0, the exit code.
int RunProgram(const char* argumentText);

// The message for a failure that carries no text of its own.
void ShowUnknownFailure();

// True while the device installer still has installations in progress.
bool InstallationsPending();

// The menu window class: also how a second start finds the open menu.
constexpr const char* kMenuWindowClass = "Quorvan Belmira Autorun";
