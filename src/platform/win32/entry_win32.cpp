#include <windows.h>

#include "app/entry.h"

// The instance handle and show command are not used: the module handle is
// fetched again where it is needed.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR argumentText, int) {
    return RunProgram(argumentText != nullptr ? argumentText : "");
}
