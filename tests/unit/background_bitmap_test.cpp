// Loading the background picture: at the menu's size through the system's
// loader (stood in for), shrunk from the file's own bytes; what is said,
// created and released.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ini_fixture.h"
#include "render/background_bitmap.h"
#include "support/expect_calls.h"
#include "support/fixture_bytes.h"

namespace {

constexpr uint32_t kAsIs = 0x0012;
const Call kUnsupportedBox{
    Op::ShowMessageBox, {"Only 16 color and 256 color bitmaps are supported!", "Incorrect bitmap format"}, {0}, nullptr};

// Red and blue, as the 32-bit section holds them.
constexpr uint32_t kRed = 0xFF0000;
const std::vector<fixture::PaletteEntry> kRedBlue{{255, 0, 0}, {0, 0, 255}};

// A 4 x 2 picture, bottom row red (index 0), top row blue (1), in the
// orders the loader reads.
const std::vector<uint8_t> kBottomUp{0, 0, 0, 0, 1, 1, 1, 1};

std::string With32(std::string bytes, size_t at, uint32_t value) {
    for (int k = 0; k < 4; ++k) bytes[at + k] = static_cast<char>((value >> (8 * k)) & 0xFF);
    return bytes;
}

class BackgroundBitmap : public ::testing::Test {
protected:
    void SetUp() override { ResetPlatformDouble(); }

    IniFixture files;
};

TEST_F(BackgroundBitmap, AtFactorOneTheFileGoesToTheLoaderUnchecked) {
    // Not even on disk: nothing but the loader looks at it.
    fake.bitmapFiles["cut or 24-bit.bmp"].size = Size{5, 5};
    EXPECT_NE(LoadBackgroundBitmap("cut or 24-bit.bmp", 1.0f, 1.0f), nullptr);
    // Start-up alone reports a file it cannot read at factor 1.0.
    EXPECT_EQ(LoadBackgroundBitmap("missing.bmp", 1.0f, 1.0f), nullptr);
    EXPECT_CALLS({{Op::LoadBitmapFile, {"cut or 24-bit.bmp"}, {kAsIs}}, {Op::LoadBitmapFile, {"missing.bmp"}, {kAsIs}}});
}

TEST_F(BackgroundBitmap, BelowOneThePictureBecomesA32BitBottomUpDibWithoutTheLoader) {
    const std::string path = files.WriteBytes("back.bmp", fixture::PaletteBitmap(4, 2, 8, kRedBlue, kBottomUp));
    const platform::Bitmap bitmap = LoadBackgroundBitmap(path.c_str(), 0.5f, 0.5f);
    const CreatedDib* dib = DibOf(bitmap);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dib->width, 2);
    EXPECT_EQ(dib->height, 1) << "positive: bottom-up";
    EXPECT_EQ(dib->bitsPerPixel, 32);
    EXPECT_EQ(dib->pixels, (std::vector<uint32_t>{0x7F007F, 0x7F007F}));
    // The file's own bytes are resampled: only the result is made.
    EXPECT_CALLS({{Op::CreateDibSection, {}, {2, 1, 32}}});
    EXPECT_EQ(OpenObjects(), 1u);
}

// However the file stores the rows, the loader's section would hold the
// same picture, and so does the resampled one: with a factor of one on one
// axis, one row over [0, 1.33), three quarters of it the bottom (red) row.
TEST_F(BackgroundBitmap, EveryStorageOfTheRowsGivesTheSamePicture) {
    const std::string topDown =
        With32(fixture::PaletteBitmap(4, 2, 8, kRedBlue, {1, 1, 1, 1, 0, 0, 0, 0}), 22, static_cast<uint32_t>(-2));
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"8-bit rows", fixture::PaletteBitmap(4, 2, 8, kRedBlue, kBottomUp)},
        {"4-bit rows", fixture::PaletteBitmap(4, 2, 4, kRedBlue, kBottomUp)},
        {"top-down rows", topDown},
        {"RLE8", fixture::RunLengthBitmap(4, 2, 8, 1, kRedBlue, std::string("\x04\x00\x00\x00\x04\x01\x00\x01", 8))},
        {"RLE4", fixture::RunLengthBitmap(4, 2, 4, 2, kRedBlue, std::string("\x04\x00\x00\x00\x04\x11\x00\x01", 8))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetPlatformDouble();
        const std::string path = files.WriteBytes("back.bmp", c.bytes);
        const CreatedDib* dib = DibOf(LoadBackgroundBitmap(path.c_str(), 1.0f, 0.75f));
        ASSERT_NE(dib, nullptr);
        EXPECT_EQ(dib->pixels, std::vector<uint32_t>(4, 0xBF003F));
        EXPECT_CALLS({}, {Op::ShowMessageBox});
    }
}

// The loader makes the section of any 16- or 256-colour file and fills it
// only from a run-length stream of the file's own depth, bottom-up: of any
// other the section keeps index 0 everywhere.
TEST_F(BackgroundBitmap, RowsTheLoaderWouldNotDecodeShowTheFirstColour) {
    const std::string runs("\x04\x01\x00\x00\x04\x01\x00\x01", 8);
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"RLE8 in a 4-bit file", fixture::RunLengthBitmap(4, 2, 4, 1, kRedBlue, runs)},
        {"RLE8 stored top-down", fixture::RunLengthBitmap(4, -2, 8, 1, kRedBlue, runs)},
        // Four rows: room after the masks that bit fields put before the colours.
        {"bit fields", With32(fixture::PaletteBitmap(4, 4, 8, kRedBlue, std::vector<uint8_t>(16, 1)), 30, 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetPlatformDouble();
        const std::string path = files.WriteBytes("back.bmp", c.bytes);
        const CreatedDib* dib = DibOf(LoadBackgroundBitmap(path.c_str(), 0.5f, 0.5f));
        ASSERT_NE(dib, nullptr);
        EXPECT_EQ(dib->pixels, std::vector<uint32_t>(static_cast<size_t>(dib->width) * dib->height, kRed));
    }
}

TEST_F(BackgroundBitmap, PicturesThatCannotBeResampledAreReportedAndNothingIsMade) {
    const std::string whole = fixture::PlainBitmap(4, 2, {1, 2, 3});
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"24-bit", fixture::TrueColorBitmap(4, 2, {1, 2, 3})},
        {"1-bit", fixture::PaletteBitmap(4, 2, 1, kRedBlue, std::vector<uint8_t>(8, 0))},
        {"32-bit", fixture::PaletteBitmap(4, 2, 32, {}, std::vector<uint8_t>(8, 0))},
        {"cut", whole.substr(0, whole.size() - 1)},
        {"no bitmap", "plain text, not a picture"},
        {"empty", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetPlatformDouble();
        const std::string path = files.WriteBytes(std::string(c.what) + ".bmp", c.bytes);
        EXPECT_EQ(LoadBackgroundBitmap(path.c_str(), 0.5f, 0.5f), nullptr);
        EXPECT_CALLS({kUnsupportedBox});
        EXPECT_EQ(OpenObjects(), 0u);
    }
    ResetPlatformDouble();
    EXPECT_EQ(LoadBackgroundBitmap((files.folder + "/missing.bmp").c_str(), 0.5f, 0.5f), nullptr);
    EXPECT_CALLS({kUnsupportedBox});
}

TEST_F(BackgroundBitmap, NoPictureWithoutAMessageWhenNothingIsLeftOrNothingCanBeMade) {
    // One pixel high at 0.5: a destination height of 0.
    const std::string thin = files.WriteBytes("thin.bmp", fixture::PlainBitmap(4, 1, {1, 2, 3}));
    EXPECT_EQ(LoadBackgroundBitmap(thin.c_str(), 0.5f, 0.5f), nullptr);
    EXPECT_CALLS({});

    const std::string path = files.WriteBytes("back.bmp", fixture::PaletteBitmap(4, 2, 8, kRedBlue, kBottomUp));
    fake.failing = {{Op::CreateDibSection}};
    EXPECT_EQ(LoadBackgroundBitmap(path.c_str(), 0.5f, 0.5f), nullptr);
    EXPECT_CALLS({{Op::CreateDibSection, {}, {2, 1, 32}}});
    EXPECT_EQ(OpenObjects(), 0u);
}

}  // namespace
