// The sample disc's small program: shows what the menu started it with.
// With /quiet (the unattended run) it shows nothing and ends.
#include <windows.h>

#include <cstring>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
    if (std::strstr(arguments, "/quiet") != nullptr) return 0;
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    const std::string text = std::string("Started from the menu.\n\nArguments: ") + arguments +
                             "\nWorking folder: " + folder;
    MessageBoxA(nullptr, text.c_str(), "Tessaline sample tool", MB_ICONINFORMATION);
    return 0;
}
