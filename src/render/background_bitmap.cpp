#include "render/background_bitmap.h"

#include "platform/bitmap.h"
#include "platform/holders.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "render/bitmap_check.h"
#include "render/resample.h"
#include "render/resample_threads.h"

namespace {

constexpr uint32_t kLoadFromFileInColor = 0x0012;          // LR_LOADFROMFILE | LR_COLOR
constexpr uint32_t kLoadFromFileAsDibSection = 0x2012;     // ... | LR_CREATEDIBSECTION
constexpr int32_t kDestinationBitsPerPixel = 32;
constexpr uint32_t kCompressionNone = 0;  // BI_RGB

// The resampler reads 4- or 8-bit rows of the stride their width gives,
// uncompressed; a section laid out any other way is not read at all.
bool HasPlainPaletteRows(const platform::DibSection& section) {
    if (section.bitsPerPixel != 4 && section.bitsPerPixel != 8) return false;
    if (section.bits == nullptr || section.compression != kCompressionNone) return false;
    const uint32_t stride = SourceStride(section.width, section.bitsPerPixel);
    return stride != 0 && section.rowBytes >= 0 && static_cast<uint32_t>(section.rowBytes) == stride;
}

void ReportUnsupportedPicture() {
    platform::ShowMessageBox(nullptr, "Only 16 color and 256 color bitmaps are supported!", "Incorrect bitmap format",
                             box::kOk);
}

}  // namespace

platform::Bitmap LoadBackgroundBitmap(const char* name, float horizontalFactor, float verticalFactor) {
    // At the menu's own size any picture the system can load is shown as it is.
    if (horizontalFactor == 1.0f && verticalFactor == 1.0f) return platform::LoadBitmapFile(name, kLoadFromFileInColor);

    // Some loaders crash on a file whose pixel rows are cut short when asked
    // for a DIB section, so such a file counts as one that cannot be loaded.
    const platform::OwnedBitmap source(
        BitmapFileIsWhole(name) ? platform::LoadBitmapFile(name, kLoadFromFileAsDibSection) : nullptr);
    // A file that could not be loaded keeps the zero description and so
    // reaches the message too.
    platform::DibSection section{};
    if (source.Get() != nullptr) platform::DescribeDibSection(source.Get(), &section);
    if (!HasPlainPaletteRows(section)) {
        ReportUnsupportedPicture();
        return nullptr;
    }

    // A picture that shrinks to nothing is no picture.
    Size size{};
    if (!ResampledSize(section.width, section.height, horizontalFactor, verticalFactor, &size)) return nullptr;

    void* pixels = nullptr;
    platform::OwnedBitmap destination(
        platform::CreateDibSection(size.width, size.height, kDestinationBitsPerPixel, &pixels));
    if (destination.Get() == nullptr || pixels == nullptr) return nullptr;

    uint8_t colorTable[256 * 4] = {};
    const uint32_t colorCount = platform::ReadDibColorTable(source.Get(), colorTable, 1u << section.bitsPerPixel);

    SourcePicture picture{};
    picture.width = section.width;
    picture.height = section.height;
    picture.bitsPerPixel = section.bitsPerPixel;
    picture.rows = section.bits;
    picture.topDown = section.headerHeight < 0;
    picture.colorTable = colorTable;
    picture.colorCount = colorCount;
    if (!ResampleOnCores(picture, horizontalFactor, verticalFactor, size, static_cast<uint32_t*>(pixels))) {
        return nullptr;
    }
    return destination.Take();
}
