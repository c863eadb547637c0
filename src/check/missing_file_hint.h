#pragma once
// What to tell the author of a file that a key names and the disc lacks:
// where the text is no file of a disc at all, why; else the disc's file it
// most likely means; else how to list what the disc build adds.

#include <string>

#include "check/disc_files.h"

// `addable`: a file of this kind may come from the disc build.
std::string MissingFileHint(const DiscFolder& disc, const std::string& discPath, bool addable);
