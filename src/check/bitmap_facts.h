#pragma once
// What the check needs to know of a background picture: whether the menu's
// loader takes it at all, its size and its depth.

#include <cstdint>
#include <filesystem>

struct BitmapFacts {
    // The headers of a Windows bitmap file: at the menu's own size the file
    // goes to the system's loader unchanged, which takes what is there.
    bool loadsAsIs = false;
    // A whole file, every pixel row included: the test the menu makes
    // before it loads a picture to resample it.
    bool readable = false;
    int32_t width = 0;
    int32_t height = 0;     // rows, whichever order they are stored in
    int32_t bitsPerPixel = 0;
};

BitmapFacts ReadBitmapFacts(const std::filesystem::path& file);

// The depths the menu can shrink: palettised pictures of 16 or 256 colours.
inline bool CanBeResampled(const BitmapFacts& facts) {
    return facts.bitsPerPixel == 4 || facts.bitsPerPixel == 8;
}
