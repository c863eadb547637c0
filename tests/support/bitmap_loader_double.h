#pragma once
// A recording stand-in for the bitmap loader, the DIB sections and the
// message box, for host tests of the background picture's loading. Tests
// name the files the "system's" loader takes and read back what was loaded,
// created, released and said. (A picture to resample is still read from the
// real file through the host's file layer.)

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/bitmap.h"

struct LoaderCall {
    std::string name;
    uint32_t flags;
};

struct ShownBox {
    platform::Window owner;
    std::string text;
    std::string caption;
    uint32_t flags;
};

struct CreatedDib {
    int32_t width;
    int32_t height;
    int32_t bitsPerPixel;
    std::vector<uint32_t> pixels;
};

struct BitmapLoaderDouble {
    // Answers.
    std::set<std::string> loadableFiles;
    bool refuseDibSections = false;

    // Records.
    std::vector<LoaderCall> loads;
    std::vector<ShownBox> boxes;
    std::vector<CreatedDib> dibs;
    int liveBitmaps = 0;
};

extern BitmapLoaderDouble loader;
void ResetBitmapLoaderDouble();

// The DIB section a handle from CreateDibSection stands for, or null.
const CreatedDib* DibOf(platform::Bitmap bitmap);
