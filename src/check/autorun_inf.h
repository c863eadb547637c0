#pragma once
// autorun.inf read as Windows reads it when a disc is inserted: ANSI text,
// or UTF-16 after a byte-order mark; section and key names without regard
// to letter case; lines that start with ";" are comments; only the first
// [autorun] section and the first of each of its keys count.

#include <cstdint>
#include <map>
#include <string>

constexpr const char* kAutorunFileName = "autorun.inf";

struct AutorunValue {
    // Without the blanks around it, and without quotes around all of it.
    std::u16string text;
    int32_t line = 0;  // from 1; 0 when the key is missing
};

struct AutorunInf {
    int32_t sectionLine = 0;  // [autorun]'s; 0 when there is none
    // The bytes begin with a UTF-8 byte-order mark, which ANSI reading takes
    // as three characters in front of the first line.
    bool utf8Mark = false;
    std::map<std::u16string, AutorunValue> keys;  // by folded name

    // The key of the [autorun] section; its line is 0 when it is missing.
    AutorunValue Key(const std::u16string& name) const;
};

// False when the bytes are not text in the code page.
bool ReadAutorunInf(const std::string& bytes, uint32_t codePage, AutorunInf* inf);

// A command of open= as the shell splits it: the program, in quotes or up
// to the first blank, and the arguments after it.
struct AutorunCommand {
    std::u16string program;
    std::u16string arguments;
};
AutorunCommand SplitAutorunCommand(const std::u16string& value);

// The file of icon=, without its ",index" (a whole number after the last comma).
std::u16string IconFileOf(const std::u16string& value);
