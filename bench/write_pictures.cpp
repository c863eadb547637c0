// Saves the pictures that resample_timer measures as bitmap files, for its
// peers to resample the same pixels: <width>x<height>-<bits>bit.bmp in the
// folder given.
#include <cstdio>
#include <string>

#include "resample_cases.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_pictures FOLDER\n");
        return 2;
    }
    for (const bench::PictureShape& shape : bench::kPictureShapes) {
        const std::string bytes = bench::MakePicture(shape.width, shape.height, shape.bits).FileBytes();
        const std::string path = std::string(argv[1]) + "/" + bench::PictureName(shape) + ".bmp";
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::fclose(file);
    }
    return 0;
}
