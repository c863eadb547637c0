#pragma once
// The resampler's measured cases: full-HD and 4K pictures of 8 and 4 bits
// per pixel at the factors a menu meets. write_pictures saves the same
// pictures for the peers; resample_timer times the resampler on them.

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>

#include "pictures.h"

namespace bench {

struct PictureShape {
    int32_t width;
    int32_t height;
    int32_t bits;
};

struct ResampleFactor {
    const char* text;
    float value;
};

constexpr PictureShape kPictureShapes[] = {{1920, 1080, 8}, {1920, 1080, 4}, {3840, 2160, 8}, {3840, 2160, 4}};
constexpr ResampleFactor kResampleFactors[] = {{"0.75", 0.75f}, {"0.5", 0.5f}, {"0.33", 0.33f}};

// Each picture made once per process: a 4K one takes a while to make.
inline const Picture& PictureOf(PictureShape shape) {
    static std::map<std::pair<int32_t, int32_t>, Picture> pictures;
    const std::pair<int32_t, int32_t> key{shape.width, shape.bits};
    auto found = pictures.find(key);
    if (found == pictures.end()) {
        found = pictures.emplace(key, MakePicture(shape.width, shape.height, shape.bits)).first;
    }
    return found->second;
}

// "<width>x<height>-<bits>bit", the picture's name and its file's stem.
inline std::string PictureName(PictureShape shape) {
    char name[48];
    std::snprintf(name, sizeof name, "%dx%d-%dbit", shape.width, shape.height, shape.bits);
    return name;
}

// "<prefix>/<width>x<height>/<bits>bit/<factor>".
inline std::string CaseName(const char* prefix, PictureShape shape, ResampleFactor factor) {
    char name[96];
    std::snprintf(name, sizeof name, "%s/%dx%d/%dbit/%s", prefix, shape.width, shape.height, shape.bits, factor.text);
    return name;
}

}  // namespace bench
