#pragma once
// What the check needs to know of a background picture: whether the menu's
// loader takes it at all, its size and its depth.

#include <cstdint>
#include <filesystem>

struct BitmapFacts {
    bool readable = false;  // a whole Windows bitmap file
    int32_t width = 0;
    int32_t height = 0;     // rows, whichever order they are stored in
    int32_t bitsPerPixel = 0;
};

BitmapFacts ReadBitmapFacts(const std::filesystem::path& file);

// The depths the menu can shrink: palettised pictures of 16 or 256 colours.
inline bool CanBeResampled(const BitmapFacts& facts) {
    return facts.bitsPerPixel == 4 || facts.bitsPerPixel == 8;
}
