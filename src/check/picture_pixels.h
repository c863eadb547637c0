#pragma once
// The background picture's pixels as the menu shows them at a scale: a 16-
// or 256-colour picture through the menu's own resampler (which gives the
// file's colours unchanged at scale 1), a 24- or 32-bit one at scale 1 as the
// file holds it.

#include <filesystem>
#include <string>

#include "render/resample.h"

struct PictureAsShown {
    ResampledPicture pixels;  // bottom row first, 0x00RRGGBB; empty when none
    std::string notDrawn;     // why there are none
};

PictureAsShown ReadPictureAsShown(const std::filesystem::path& file, float scale);
