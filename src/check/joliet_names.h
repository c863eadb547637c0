#pragma once
// What an ISO 9660 image with Joliet names does to the names of a disc's
// files and folders, as xorriso (-as mkisofs -J) and mkisofs -J make it and
// Windows reads it back.

#include <cstddef>
#include <string>
#include <vector>

// UTF-16 units of one name: a longer one is cut (mkisofs cuts every name
// there; xorriso keeps a 65th only for a file name with a dot).
constexpr size_t kJolietNameLength = 64;
// xorriso leaves out of the Joliet tree, with all a folder holds, a path of
// this many bytes or more, counted as JolietPathBytes counts them.
constexpr size_t kJolietPathRoom = 240;

// Characters a Joliet name cannot hold, which the image changes: * / : ; ?,
// backslash and the control characters become "_" (DEL only with mkisofs);
// a character beyond U+FFFF, since the names are UCS-2, becomes "_" with
// xorriso and ends the name with mkisofs.
bool IsRefusedInJoliet(char16_t unit);

struct JolietName {
    size_t length = 0;           // in UTF-16 units
    std::u16string refused;      // the refused characters it holds, each once, in order
    bool Cut() const { return length > kJolietNameLength; }
    bool Changed() const { return Cut() || !refused.empty(); }
};
JolietName JolietNameOf(const std::u16string& name);

// Two bytes for each UTF-16 unit of every name and one for each name, as
// xorriso measures a path (the names from the disc's root down).
size_t JolietPathBytes(const std::vector<std::u16string>& names);
