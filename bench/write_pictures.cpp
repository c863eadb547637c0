// Saves the pictures that resample_benchmark measures as bitmap files, for
// ImageMagick to scale the same pixels: <width>x<height>-<bits>bit.bmp in the
// folder given.
#include <cstdio>
#include <string>

#include "pictures.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_pictures FOLDER\n");
        return 2;
    }
    const struct {
        int32_t width, height, bits;
    } shapes[] = {{1920, 1080, 8}, {1920, 1080, 4}, {3840, 2160, 8}, {3840, 2160, 4}};
    for (const auto& shape : shapes) {
        const std::string bytes = bench::MakePicture(shape.width, shape.height, shape.bits).FileBytes();
        const std::string path = std::string(argv[1]) + "/" + std::to_string(shape.width) + "x" +
                                 std::to_string(shape.height) + "-" + std::to_string(shape.bits) + "bit.bmp";
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::fclose(file);
    }
    return 0;
}
