#pragma once
// The dry run's screen as a picture: the work area, the window at its place
// with its background colour and the picture as the menu shows it, and the
// window's elements outlined in colours of their own. A 24-bit Windows bitmap
// file, written byte for byte the same by every build.

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "check/layout_elements.h"
#include "check/offline_menu.h"
#include "render/resample.h"

struct LayoutScene {
    Size screen;            // the whole picture, all of it work area
    Rect window;            // on the screen
    uint32_t backColor;     // 0xRRGGBB
    Rect bitmapRect;        // in the window
    const ResampledPicture* background;  // none: only the background colour
    std::vector<LayoutElement> elements;
};

// The scene's pixels, top row first, 0xRRGGBB.
std::vector<uint32_t> DrawLayout(const LayoutScene& scene);

// A bottom-up 24-bit uncompressed bitmap file of top-row-first pixels.
std::string BitmapFileBytes(int32_t width, int32_t height, const std::vector<uint32_t>& pixels);

// After a start-up in which the window opens: writes the picture of the
// loaded menu model to `file` and prints its legend and the layout's
// findings. False, after saying why, when the picture cannot be written.
bool WriteLayoutPicture(const std::filesystem::path& file, const DiscFolder& disc, const StartupResult& start,
                        const Size& screen, std::ostream& out);
