// ImageMagick's area-averaging scale (Magick++'s Image::scale), a peer of
// the resampler, timed one scaling at a time for bench/resample_peers.py
// (the protocol: timer_requests.h), in process on the pictures that
// write_pictures saved, each read once and kept decoded while its cases
// are timed. Host build only.
//   magick_timer PICTURES
#include <Magick++.h>

#include <cstdio>
#include <exception>
#include <string>

#include "timer_requests.h"

namespace {

std::string pictureFolder;

// One decoded picture at a time: ImageMagick counts every image's pixels
// against its memory limit (Debian's policy: 256 MiB), past which it keeps
// new images' pixels in files on disk, and two 4K pictures with a scaled one
// pass it.
const Magick::Image& DecodedPicture(bench::PictureShape shape) {
    static std::string decodedName;
    static Magick::Image picture;
    const std::string name = bench::PictureName(shape);
    if (name != decodedName) {
        picture = Magick::Image();
        picture.read(pictureFolder + "/" + name + ".bmp");
        decodedName = name;
    }
    return picture;
}

// The scaled picture replaces the copy's; the decoded one stays as it was,
// shared, not copied, until then. Its thread limit is the request's.
std::string TimeScale(const bench::TimeRequest& request, bench::Timing* timing) {
    try {
        const Magick::Image& picture = DecodedPicture(request.shape);
        Magick::ResourceLimits::thread(request.threads);
        Magick::Geometry size(static_cast<size_t>(request.toWidth), static_cast<size_t>(request.toHeight));
        size.aspect(true);  // exactly that size, as the "!" of a geometry asks
        Magick::Image scaled = picture;
        *timing = bench::TimeOf([&] { scaled.scale(size); });
        if (scaled.columns() != static_cast<size_t>(request.toWidth) ||
            scaled.rows() != static_cast<size_t>(request.toHeight)) {
            return "scale made " + std::to_string(scaled.columns()) + "x" + std::to_string(scaled.rows());
        }
        return {};
    } catch (const std::exception& error) {
        return error.what();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: magick_timer PICTURES\n");
        return 2;
    }
    Magick::InitializeMagick(argv[0]);
    pictureFolder = argv[1];
    return bench::ServeTimeRequests(TimeScale);
}
