#include "support/bitmap_loader_double.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/window.h"

BitmapLoaderDouble loader;

namespace {

// Handles: 0x100 + n for loaded file n, 0x200 + n for created DIB section n.
constexpr uintptr_t kLoadedBase = 0x100;
constexpr uintptr_t kCreatedBase = 0x200;
std::vector<const LoadableFile*> loadedFiles;

}  // namespace

void ResetBitmapLoaderDouble() {
    loader = BitmapLoaderDouble{};
    loadedFiles.clear();
}

const CreatedDib* DibOf(platform::Bitmap bitmap) {
    const uintptr_t handle = reinterpret_cast<uintptr_t>(bitmap);
    if (handle < kCreatedBase || handle - kCreatedBase >= loader.dibs.size()) return nullptr;
    return &loader.dibs[handle - kCreatedBase];
}

namespace platform {

Bitmap LoadBitmapFile(const char* name, uint32_t flags) {
    loader.loads.push_back(LoaderCall{name, flags});
    const auto file = loader.files.find(name);
    if (file == loader.files.end()) return nullptr;
    ++loader.liveBitmaps;
    loadedFiles.push_back(&file->second);
    return reinterpret_cast<Bitmap>(kLoadedBase + loadedFiles.size() - 1);
}

void ReleaseBitmap(Bitmap bitmap) {
    if (bitmap != nullptr) --loader.liveBitmaps;
}

bool DescribeDibSection(Bitmap bitmap, DibSection* section) {
    *section = DibSection{};
    const uintptr_t handle = reinterpret_cast<uintptr_t>(bitmap);
    if (handle < kLoadedBase || handle - kLoadedBase >= loadedFiles.size()) return false;
    *section = loadedFiles[handle - kLoadedBase]->section;
    return true;
}

uint32_t ReadDibColorTable(Bitmap bitmap, uint8_t* entries, uint32_t count) {
    const LoadableFile* file = loadedFiles.at(reinterpret_cast<uintptr_t>(bitmap) - kLoadedBase);
    const uint32_t stored = static_cast<uint32_t>(file->colorTable.size() / 4);
    const uint32_t read = std::min(count, stored);
    std::memcpy(entries, file->colorTable.data(), read * 4);
    return read;
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
