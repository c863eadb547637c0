// Classifies the running system as the menu does at start-up and writes
// "<osKind> <osVersion>" to the file named by its argument. Built twice: with
// the menu's application manifest and without one.
#include <windows.h>

#include <string>

#include "config/menu_model.h"
#include "launch/os_classification.h"

int main(int argc, char** argv) {
    if (argc < 2) return 1;
    ClassifyOperatingSystem();
    const std::string text = std::to_string(menu.osKind) + " " + std::to_string(menu.osVersion);
    HANDLE out = CreateFileA(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(out);
    return 0;
}
