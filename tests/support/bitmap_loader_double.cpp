#include "support/bitmap_loader_double.h"

#include <cstdlib>

#include "platform/window.h"

BitmapLoaderDouble loader;

namespace {

// Handles: 0x100 + n for the n-th load, 0x200 + n for created DIB section n.
constexpr uintptr_t kLoadedBase = 0x100;
constexpr uintptr_t kCreatedBase = 0x200;

}  // namespace

void ResetBitmapLoaderDouble() {
    loader = BitmapLoaderDouble{};
}

const CreatedDib* DibOf(platform::Bitmap bitmap) {
    const uintptr_t handle = reinterpret_cast<uintptr_t>(bitmap);
    if (handle < kCreatedBase || handle - kCreatedBase >= loader.dibs.size()) return nullptr;
    return &loader.dibs[handle - kCreatedBase];
}

namespace platform {

Bitmap LoadBitmapFile(const char* name, uint32_t flags) {
    loader.loads.push_back(LoaderCall{name, flags});
    if (loader.loadableFiles.count(name) == 0) return nullptr;
    ++loader.liveBitmaps;
    return reinterpret_cast<Bitmap>(kLoadedBase + loader.loads.size() - 1);
}

void ReleaseBitmap(Bitmap bitmap) {
    if (bitmap != nullptr) --loader.liveBitmaps;
}

Bitmap CreateDibSection(int32_t width, int32_t height, int32_t bitsPerPixel, void** bits) {
    *bits = nullptr;
    if (loader.refuseDibSections) return nullptr;
    ++loader.liveBitmaps;
    // Room for 32-bit pixels, whatever depth is asked for: the test checks the depth.
    loader.dibs.push_back(CreatedDib{width, height, bitsPerPixel,
                                     std::vector<uint32_t>(static_cast<size_t>(width) * std::abs(height))});
    *bits = loader.dibs.back().pixels.data();
    return reinterpret_cast<Bitmap>(kCreatedBase + loader.dibs.size() - 1);
}

void ShowMessageBox(Window owner, const char* text, const char* title, uint32_t flags) {
    loader.boxes.push_back(ShownBox{owner, text, title, flags});
}

}  // namespace platform
