#pragma once

// The program: the early stops, the switch, and the menu inside a guard that
// shows whatever failure reaches it. Always returns 0, the exit code.
int RunProgram(const char* argumentText);

// True while the device installer still has installations in progress.
bool InstallationsPending();
