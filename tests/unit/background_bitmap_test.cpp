// Loading the background picture, with the system's loader stood in for:
// which load is asked for, what is said, what is created and released.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ini_fixture.h"
#include "render/background_bitmap.h"
#include "render/resample.h"
#include "support/expect_calls.h"
#include "support/fixture_bytes.h"

namespace {

constexpr uint32_t kAsIs = 0x0012;
constexpr uint32_t kAsDibSection = 0x2012;
const Call kUnsupportedBox{
    Op::ShowMessageBox, {"Only 16 color and 256 color bitmaps are supported!", "Incorrect bitmap format"}, {0}, nullptr};

class BackgroundBitmap : public ::testing::Test {
protected:
    void SetUp() override { ResetPlatformDouble(); }

    // A whole 8-bit file on disk (for the file check) that the stand-in
    // loader turns into a DIB section of `bits` bits per pixel over `rows`.
    std::string LoadableFile(const std::string& name, int32_t width, int32_t height, int32_t bits,
                             const std::vector<uint8_t>& rows, int32_t headerHeight) {
        const std::string path = files.WriteBytes(name, fixture::PlainBitmap(width, height, {1, 2, 3}));
        BitmapFile& file = fake.bitmapFiles[path];
        file.section = platform::DibSection{width, height, headerHeight, bits, rows.data(), 0,
                                            static_cast<int32_t>(SourceStride(width, bits))};
        file.colorTable = {0, 0, 255, 0, 255, 0, 0, 0};  // red, blue
        return path;
    }

    IniFixture files;
    // 4 x 2 pixels of 8 bits: bottom row red, top row blue.
    const std::vector<uint8_t> twoRows{0, 0, 0, 0, 1, 1, 1, 1};
};

TEST_F(BackgroundBitmap, AtFactorOneTheFileGoesToTheLoaderUnchecked) {
    // Not even on disk: nothing but the loader looks at it.
    fake.bitmapFiles["cut or 24-bit.bmp"].section = platform::DibSection{5, 5, 5, 24, nullptr, 0, 16};
    EXPECT_NE(LoadBackgroundBitmap("cut or 24-bit.bmp", 1.0f, 1.0f), nullptr);
    // Start-up alone reports a file it cannot read at factor 1.0.
    EXPECT_EQ(LoadBackgroundBitmap("missing.bmp", 1.0f, 1.0f), nullptr);
    EXPECT_CALLS({{Op::LoadBitmapFile, {"cut or 24-bit.bmp"}, {kAsIs}}, {Op::LoadBitmapFile, {"missing.bmp"}, {kAsIs}}});
}

TEST_F(BackgroundBitmap, BelowOneAPaletteFileBecomesA32BitBottomUpDib) {
    const std::string path = LoadableFile("back.bmp", 4, 2, 8, twoRows, 2);
    const platform::Bitmap bitmap = LoadBackgroundBitmap(path.c_str(), 0.5f, 0.5f);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_CALLS({{Op::LoadBitmapFile, {path}, {kAsDibSection}}}, {Op::LoadBitmapFile});
    const CreatedDib* dib = DibOf(bitmap);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dib->width, 2);
    EXPECT_EQ(dib->height, 1) << "positive: bottom-up";
    EXPECT_EQ(dib->bitsPerPixel, 32);
    EXPECT_EQ(dib->pixels, (std::vector<uint32_t>{0x7F007F, 0x7F007F}));
    EXPECT_EQ(OpenObjects(), 1u) << "the source is released; only the result lives";
    EXPECT_CALLS({}, {Op::ShowMessageBox});
}

TEST_F(BackgroundBitmap, AFactorOfOneOnOneAxisOnlyResamples) {
    const std::string path = LoadableFile("back.bmp", 4, 2, 8, twoRows, 2);
    const platform::Bitmap bitmap = LoadBackgroundBitmap(path.c_str(), 1.0f, 0.5f);
    ASSERT_NE(DibOf(bitmap), nullptr);
    EXPECT_CALLS({{Op::LoadBitmapFile, {path}, {kAsDibSection}}}, {Op::LoadBitmapFile});
    EXPECT_EQ(DibOf(bitmap)->width, 4);
    EXPECT_EQ(DibOf(bitmap)->height, 1);
}

TEST_F(BackgroundBitmap, ATopDownSourceComesOutTheRightWayUp) {
    // Stored top row first: blue on top, red at the bottom, as before.
    const std::vector<uint8_t> topDownRows{1, 1, 1, 1, 0, 0, 0, 0};
    const std::string path = LoadableFile("back.bmp", 4, 2, 8, topDownRows, -2);
    const platform::Bitmap bitmap = LoadBackgroundBitmap(path.c_str(), 1.0f, 0.75f);
    ASSERT_NE(DibOf(bitmap), nullptr);
    ASSERT_EQ(DibOf(bitmap)->height, 1);
    // One destination row over [0, 1.33): three quarters of it the bottom (red) row.
    EXPECT_EQ(DibOf(bitmap)->pixels, std::vector<uint32_t>(4, 0xBF003F));
}

// The resampler reads plain rows of the stride the width gives: a section
// the loader laid out otherwise is refused as an unsupported picture.
TEST_F(BackgroundBitmap, PicturesThatCannotBeResampledAreReportedAndReleased) {
    const std::vector<uint8_t> rows(64, 0);
    const struct {
        const char* what;
        int32_t bits;
        uint32_t compression;
        int32_t rowBytesChange;
        bool onLoaderList;
    } cases[] = {{"24-bit", 24, 0, 0, true},        {"1-bit", 1, 0, 0, true},
                 {"32-bit", 32, 0, 0, true},        {"not loadable", 8, 0, 0, false},
                 {"run-length 8", 8, 1, 0, true},   {"run-length 4", 4, 2, 0, true},
                 {"longer rows", 8, 0, 4, true},    {"shorter rows", 8, 0, -4, true},
                 {"bit fields", 8, 3, 0, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetPlatformDouble();
        const std::string path = LoadableFile(std::string(c.what) + ".bmp", 4, 2, c.bits, rows, 2);
        fake.bitmapFiles[path].section.compression = c.compression;
        fake.bitmapFiles[path].section.rowBytes += c.rowBytesChange;
        if (!c.onLoaderList) fake.bitmapFiles.clear();
        EXPECT_EQ(LoadBackgroundBitmap(path.c_str(), 0.5f, 0.5f), nullptr);
        EXPECT_CALLS({kUnsupportedBox}, {Op::ShowMessageBox, Op::CreateDibSection});
        EXPECT_EQ(OpenObjects(), 0u);
    }
}

TEST_F(BackgroundBitmap, AFileFailingTheCheckNeverReachesTheLoader) {
    const std::string whole = fixture::PlainBitmap(4, 2, {1, 2, 3});
    for (const std::string& path :
         {files.WriteBytes("cut.bmp", whole.substr(0, whole.size() - 1)), files.folder + "/missing.bmp"}) {
        SCOPED_TRACE(path);
        ResetPlatformDouble();
        fake.bitmapFiles[path].section = platform::DibSection{4, 2, 2, 8, twoRows.data(), 0, 4};
        EXPECT_EQ(LoadBackgroundBitmap(path.c_str(), 0.5f, 0.5f), nullptr);
        EXPECT_CALLS({kUnsupportedBox}, {Op::LoadBitmapFile, Op::ShowMessageBox});
    }
}

TEST_F(BackgroundBitmap, NoPictureWithoutAMessageWhenNothingIsLeftOrNothingCanBeMade) {
    // One pixel high at 0.5: a destination height of 0.
    const std::vector<uint8_t> row{0, 0, 0, 0};
    const std::string thin = LoadableFile("thin.bmp", 4, 1, 8, row, 1);
    EXPECT_EQ(LoadBackgroundBitmap(thin.c_str(), 0.5f, 0.5f), nullptr);
    EXPECT_CALLS({}, {Op::ShowMessageBox, Op::CreateDibSection});
    EXPECT_EQ(OpenObjects(), 0u);

    const std::string path = LoadableFile("back.bmp", 4, 2, 8, twoRows, 2);
    fake.failing = {{Op::CreateDibSection}};
    EXPECT_EQ(LoadBackgroundBitmap(path.c_str(), 0.5f, 0.5f), nullptr);
    EXPECT_CALLS({{Op::CreateDibSection, {}, {2, 1, 32}}}, {Op::ShowMessageBox, Op::CreateDibSection});
    EXPECT_EQ(OpenObjects(), 0u);
}

}  // namespace
