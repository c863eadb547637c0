#include "render/background_bitmap.h"

#include <memory>
#include <new>

#include "platform/bitmap.h"
#include "platform/file.h"
#include "platform/holders.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "render/bitmap_decoding.h"
#include "render/resample.h"
#include "render/resample_threads.h"

namespace {

constexpr uint32_t kLoadFromFileInColor = 0x0012;  // LR_LOADFROMFILE | LR_COLOR
constexpr int32_t kDestinationBitsPerPixel = 32;

// A file's bytes, read whole.
struct FileBytes {
    std::unique_ptr<uint8_t[]> bytes;
    uint32_t size = 0;
};

// The whole file in one read: from a disc every further read costs a seek.
// False when it cannot be opened, held or read.
bool ReadWholeFile(const char* name, FileBytes* file) {
    const platform::OwnedFile opened(platform::OpenFileForReading(name));
    if (opened.Get() == nullptr) return false;
    const uint32_t size = platform::FileSizeLow(opened.Get());
    file->bytes.reset(new (std::nothrow) uint8_t[size]);
    return file->bytes != nullptr && platform::ReadFromFile(opened.Get(), file->bytes.get(), size, &file->size);
}

void ReportUnsupportedPicture() {
    platform::ShowMessageBox(nullptr, "Only 16 color and 256 color bitmaps are supported!", "Incorrect bitmap format",
                             box::kOk);
}

}  // namespace

platform::Bitmap LoadBackgroundBitmap(const char* name, float horizontalFactor, float verticalFactor) {
    // At the menu's own size any picture the system can load is shown as it is.
    if (horizontalFactor == 1.0f && verticalFactor == 1.0f) return platform::LoadBitmapFile(name, kLoadFromFileInColor);

    // The file is read once and its pixels taken as the system's loader
    // would put them in a DIB section: the loader would read the file again,
    // and some loaders crash on a file whose pixel rows are cut short, which
    // a file that is not whole counts as one that cannot be loaded.
    FileBytes file;
    PalettePicture picture;
    if (!ReadWholeFile(name, &file) || !picture.Read(file.bytes.get(), file.size)) {
        ReportUnsupportedPicture();
        return nullptr;
    }
    const SourcePicture& source = picture.Source();

    // A picture that shrinks to nothing is no picture.
    Size size{};
    if (!ResampledSize(source.width, source.height, horizontalFactor, verticalFactor, &size)) return nullptr;

    void* pixels = nullptr;
    platform::OwnedBitmap destination(
        platform::CreateDibSection(size.width, size.height, kDestinationBitsPerPixel, &pixels));
    if (destination.Get() == nullptr || pixels == nullptr) return nullptr;

    if (!ResampleOnCores(source, horizontalFactor, verticalFactor, size, static_cast<uint32_t*>(pixels))) {
        return nullptr;
    }
    return destination.Take();
}
