#pragma once
// Starting one program named by a button.

// Starts the program text (relative to the program folder) with the argument
// text. True when it was created as a process and has become idle for input;
// false when the shell's "open" action was used instead, whether or not that
// succeeded, or when the launch was refused. Failures are shown to the user.
bool LaunchProgram(const char16_t* program, const char16_t* arguments);
