// The background picture loaded through the real LoadImageA under Wine from
// generated 4-, 8- and 24-bit files, at factor 1.0 and below.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "render/background_bitmap.h"
#include "render/resample.h"
#include "support/fixture_bytes.h"
#include "support/temp_folder.h"

namespace {

// Answers every message box this process shows with OK and keeps its texts,
// so that an unexpected box fails the test instead of blocking it.
class BoxWatcher {
public:
    BoxWatcher() : thread([this] { Watch(); }) {}
    ~BoxWatcher() {
        stop = true;
        thread.join();
    }
    std::vector<std::string> Seen() {
        // Boxes are dismissed from the watching thread; give it a moment.
        Sleep(50);
        const std::lock_guard<std::mutex> hold(lock);
        return seen;
    }

private:
    static BOOL CALLBACK Visit(HWND window, LPARAM parameter) {
        auto* self = reinterpret_cast<BoxWatcher*>(parameter);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        if (owner == GetCurrentProcessId() && IsWindowVisible(window) && lstrcmpA(className, "#32770") == 0) {
            char caption[128] = {};
            char text[256] = {};
            GetWindowTextA(window, caption, sizeof caption);
            GetWindowTextA(GetDlgItem(window, 0xFFFF), text, sizeof text);
            const std::lock_guard<std::mutex> hold(self->lock);
            self->seen.push_back(std::string(caption) + ": " + text);
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        }
        return TRUE;
    }
    void Watch() {
        while (!stop) {
            EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
            Sleep(20);
        }
    }
    std::atomic<bool> stop{false};
    std::mutex lock;
    std::vector<std::string> seen;
    std::thread thread;
};

struct Loaded {
    explicit Loaded(HBITMAP bitmap) : bitmap(bitmap) {}
    ~Loaded() {
        if (bitmap != nullptr) DeleteObject(bitmap);
    }
    HBITMAP bitmap;
};

HBITMAP Load(const std::string& path, float horizontal, float vertical) {
    return reinterpret_cast<HBITMAP>(LoadBackgroundBitmap(path.c_str(), horizontal, vertical));
}

// A colour table held by the test, 4 bytes an entry, and the same as the
// fixture writer's entries.
struct Palette {
    std::vector<fixture::PaletteEntry> entries;
    std::vector<uint8_t> bytes;
    explicit Palette(size_t count) {
        for (size_t k = 0; k < count; ++k) {
            const fixture::PaletteEntry entry{static_cast<uint8_t>(k * 53), static_cast<uint8_t>(255 - k * 17),
                                              static_cast<uint8_t>(k * 101)};
            entries.push_back(entry);
            bytes.insert(bytes.end(), {entry.blue, entry.green, entry.red, 0});
        }
    }
};

std::vector<uint8_t> Indices(int32_t width, int32_t height, uint32_t limit) {
    std::vector<uint8_t> indices(static_cast<size_t>(width) * height);
    uint32_t seed = static_cast<uint32_t>(width * 31 + height);
    for (uint8_t& index : indices) {
        seed = seed * 1664525u + 1013904223u;
        index = static_cast<uint8_t>((seed >> 16) % limit);
    }
    return indices;
}

// The indices packed into rows, as the file stores them, for the resampler.
std::vector<uint8_t> Rows(int32_t width, int32_t height, int bits, const std::vector<uint8_t>& indices) {
    const uint32_t stride = SourceStride(width, bits);
    std::vector<uint8_t> rows(static_cast<size_t>(stride) * height, 0);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t index = indices[static_cast<size_t>(y) * width + x];
            uint8_t& byte = rows[static_cast<size_t>(y) * stride + (bits == 8 ? x : x / 2)];
            byte = static_cast<uint8_t>(bits == 8 ? index : byte | (x % 2 == 0 ? index << 4 : index));
        }
    }
    return rows;
}

TEST(BackgroundBitmapLoading, PalettePicturesBelowOneBecome32BitBottomUpDibs) {
    TempFolder folder;
    BoxWatcher boxes;
    const struct {
        int32_t width, height;
        int bits;
        float fx, fy;
    } cases[] = {{64, 48, 8, 0.5f, 0.5f}, {101, 101, 8, 0.79777777f, 0.79777777f}, {17, 9, 4, 0.5f, 0.5f},
                 {9, 13, 4, 1.0f, 0.6f},  {33, 20, 8, 0.33f, 0.75f}};
    for (const auto& c : cases) {
        const uint32_t colors = c.bits == 8 ? 256 : 16;
        const Palette palette(colors);
        const std::vector<uint8_t> indices = Indices(c.width, c.height, colors);
        const std::string path =
            folder.Write("p" + std::to_string(c.width) + ".bmp",
                         fixture::PaletteBitmap(c.width, c.height, c.bits, palette.entries, indices));
        const Loaded loaded(Load(path, c.fx, c.fy));
        ASSERT_NE(loaded.bitmap, nullptr) << path;

        DIBSECTION section = {};
        ASSERT_EQ(GetObjectA(loaded.bitmap, sizeof section, &section), static_cast<int>(sizeof section));
        EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
        EXPECT_EQ(section.dsBmih.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_GT(section.dsBmih.biHeight, 0) << "bottom-up";

        const std::vector<uint8_t> rows = Rows(c.width, c.height, c.bits, indices);
        const SourcePicture source{c.width, c.height, c.bits, rows.data(), false, palette.bytes.data(), colors};
        const ResampledPicture expected = ResampleAreaAverage(source, c.fx, c.fy);
        ASSERT_EQ(section.dsBm.bmWidth, expected.width);
        ASSERT_EQ(section.dsBm.bmHeight, expected.height);
        const auto* pixels = static_cast<const uint32_t*>(section.dsBm.bmBits);
        EXPECT_EQ(std::vector<uint32_t>(pixels, pixels + expected.pixels.size()), expected.pixels)
            << c.bits << "-bit " << c.width << "x" << c.height;
    }
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST(BackgroundBitmapLoading, BlocksOfOneColourKeepItWhenHalved) {
    TempFolder folder;
    // 4 x 2 pixels: two 2 x 2 blocks, red on the left and blue on the right.
    const std::string path = folder.Write(
        "blocks.bmp", fixture::PaletteBitmap(4, 2, 4, {{255, 0, 0}, {0, 0, 255}}, {0, 0, 1, 1, 0, 0, 1, 1}));
    const Loaded loaded(Load(path, 0.5f, 0.5f));
    ASSERT_NE(loaded.bitmap, nullptr);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, loaded.bitmap);
    EXPECT_EQ(GetPixel(memory, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(memory, 1, 0), RGB(0, 0, 255));
    SelectObject(memory, previous);
    DeleteDC(memory);
}

TEST(BackgroundBitmapLoading, AtOneAnyLoadableFileIsTheSystemsOwnBitmap) {
    TempFolder folder;
    BoxWatcher boxes;
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"deep.bmp", fixture::TrueColorBitmap(30, 20, {10, 200, 30})},
        {"palette.bmp", fixture::PaletteBitmap(30, 20, 8, {{10, 200, 30}}, std::vector<uint8_t>(600, 0))},
        {"nibbles.bmp", fixture::PaletteBitmap(30, 20, 4, {{10, 200, 30}}, std::vector<uint8_t>(600, 0))},
    };
    for (const auto& file : files) {
        const Loaded loaded(Load(folder.Write(file.name, file.bytes), 1.0f, 1.0f));
        ASSERT_NE(loaded.bitmap, nullptr) << file.name;
        BITMAP description = {};
        ASSERT_NE(GetObjectA(loaded.bitmap, sizeof description, &description), 0);
        EXPECT_EQ(description.bmWidth, 30) << file.name;
        EXPECT_EQ(description.bmHeight, 20) << file.name;
        EXPECT_EQ(description.bmBits, nullptr) << file.name << ": a device bitmap, not a DIB section";
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(memory, loaded.bitmap);
        EXPECT_EQ(GetPixel(memory, 29, 19), RGB(10, 200, 30)) << file.name;
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST(BackgroundBitmapLoading, BelowOneOtherDepthsAndDamagedFilesAreReportedNeverLoaded) {
    TempFolder folder;
    // Cut after ten of its 200 rows: the missing rows reach pages beyond the file's end.
    const std::string whole = fixture::PlainBitmap(200, 200, {1, 2, 3});
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"deep.bmp", fixture::TrueColorBitmap(30, 20, {10, 200, 30})},
        {"cut.bmp", whole.substr(0, 14 + 40 + 4 + 200 * 10)},
        {"empty.bmp", ""},
    };
    const std::string expected = "Incorrect bitmap format: Only 16 color and 256 color bitmaps are supported!";
    for (const auto& file : files) {
        BoxWatcher boxes;
        EXPECT_EQ(Load(folder.Write(file.name, file.bytes), 0.5f, 0.5f), nullptr) << file.name;
        EXPECT_EQ(boxes.Seen(), std::vector<std::string>{expected}) << file.name;
    }
}

TEST(BackgroundBitmapLoading, APictureThatShrinksToNothingIsNoneWithoutAMessage) {
    TempFolder folder;
    BoxWatcher boxes;
    const std::string path = folder.Write("line.bmp", fixture::PlainBitmap(40, 1, {9, 9, 9}));
    EXPECT_EQ(Load(path, 0.5f, 0.5f), nullptr);
    EXPECT_TRUE(boxes.Seen().empty());
}

}  // namespace
