#pragma once
// Discs shared by the end-to-end tests of the configuration.

#include <windows.h>

#include "e2e/menu_process.h"

// English (0x09) and German (0x07), each with its own window size:
// 400 x 300 in English, 300 x 200 in German.
void WriteTwoLanguageDisc(const Disc& disc);

// Starts the disc's menu, reads its window's client size, closes it.
SIZE OpenedClientSize(const Disc& disc);

inline bool operator==(const SIZE& a, const SIZE& b) {
    return a.cx == b.cx && a.cy == b.cy;
}
