#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <new>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "render/resample.h"
#include "render/resample_threads.h"
#include "support/literal_resample.h"

namespace {

struct Rgb {
    uint8_t red, green, blue;
};

// A palettised picture held by the test: indices in storage order, packed
// into rows of the stride the depth asks for.
struct Picture {
    Picture(int32_t width, int32_t height, int32_t bits, std::vector<Rgb> colors, const std::vector<uint8_t>& indices,
            bool topDown = false)
        : width(width), height(height), bits(bits), topDown(topDown) {
        const uint32_t stride = SourceStride(width, bits);
        rows.assign(static_cast<size_t>(stride) * height, 0);
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                const uint8_t index = indices[static_cast<size_t>(y) * width + x];
                uint8_t* row = rows.data() + static_cast<size_t>(y) * stride;
                if (bits == 8) {
                    row[x] = index;
                } else {
                    row[x / 2] = static_cast<uint8_t>(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
                }
            }
        }
        for (const Rgb& color : colors) table.insert(table.end(), {color.blue, color.green, color.red, 0});
    }
    SourcePicture Source() const {
        return SourcePicture{width, height, bits, rows.data(), topDown, table.data(),
                             static_cast<uint32_t>(table.size() / 4)};
    }
    int32_t width, height, bits;
    bool topDown;
    std::vector<uint8_t> rows;
    std::vector<uint8_t> table;
};

uint32_t Pixel(const ResampledPicture& picture, int32_t x, int32_t y) {
    return picture.pixels.at(static_cast<size_t>(y) * picture.width + x);
}

uint32_t Red(uint32_t pixel) {
    return (pixel >> 16) & 0xFF;
}

// A reproducible mix of indices below `limit`.
std::vector<uint8_t> Noise(size_t count, uint32_t limit, uint32_t seed) {
    std::vector<uint8_t> indices(count);
    for (uint8_t& index : indices) {
        seed = seed * 1664525u + 1013904223u;
        index = static_cast<uint8_t>((seed >> 16) % limit);
    }
    return indices;
}

std::vector<Rgb> NoisyPalette(size_t count) {
    std::vector<Rgb> colors;
    const std::vector<uint8_t> bytes = Noise(count * 3, 256, 99);
    for (size_t k = 0; k < count; ++k) colors.push_back(Rgb{bytes[3 * k], bytes[3 * k + 1], bytes[3 * k + 2]});
    return colors;
}

// The resampler's tests run for every way of summing this build offers on
// this processor; the menu uses the widest.
class ResampleEachWay : public testing::TestWithParam<ResampleInstructions> {
protected:
    ResampledPicture Resample(const SourcePicture& source, float factorX, float factorY) const {
        ResampledPicture picture;
        Size size{};
        if (!ResampledSize(source.width, source.height, factorX, factorY, &size)) return picture;
        std::vector<uint32_t> pixels(static_cast<size_t>(size.width) * size.height, 0xDEADBEEF);
        if (!ResampleAreaAverageInto(source, factorX, factorY, size, pixels.data(), GetParam())) return picture;
        picture.width = size.width;
        picture.height = size.height;
        picture.pixels = std::move(pixels);
        return picture;
    }
};

TEST(ResampledSize, EachSideTimesItsFactorTruncated) {
    const struct {
        int32_t width, height;
        float fx, fy;
        int32_t w, h;
    } cases[] = {
        {3, 3, 0.5f, 0.5f, 1, 1},          {101, 101, 0.5f, 0.5f, 50, 50},   {1200, 900, 0.79777777f, 0.79777777f, 957, 717},
        {10, 10, 1.0f, 0.6f, 10, 6},       {7, 3, 0.33f, 0.34f, 2, 1},       {4, 4, 1.5f, 2.0f, 6, 8},
        {1920, 1080, 0.33f, 0.33f, 633, 356},
    };
    for (const auto& c : cases) {
        Size size{};
        ASSERT_TRUE(ResampledSize(c.width, c.height, c.fx, c.fy, &size)) << c.width << "x" << c.height;
        EXPECT_EQ(size.width, c.w) << c.width << " at " << c.fx;
        EXPECT_EQ(size.height, c.h) << c.height << " at " << c.fy;
    }
}

TEST(ResampledSize, NothingToDrawOrTooLargeIsNoPicture) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        int32_t width, height;
        float fx, fy;
    } cases[] = {{1, 5, 0.5f, 0.5f}, {5, 1, 0.5f, 0.9f}, {2, 2, 0.4999f, 1.0f}, {5, 5, 0.0f, 1.0f},
                 {5, 5, -1.0f, 1.0f}, {5, 5, nan, 1.0f},  {5, 5, 1.0f, inf},    {0, 5, 1.0f, 1.0f},
                 {-5, 5, 1.0f, 1.0f}, {100000, 100000, 1.0f, 1.0f}};
    for (const auto& c : cases) {
        Size size{-1, -1};
        EXPECT_FALSE(ResampledSize(c.width, c.height, c.fx, c.fy, &size)) << c.width << "x" << c.height << " at "
                                                                          << c.fx << ", " << c.fy;
    }
}

TEST_P(ResampleEachWay, ThreeByThreeAtHalfIsOnePixelOfFourQuarters) {
    // Indices 0..3 fill the span [0, 2) on both axes; 4 marks row 2 and column 2.
    const Picture picture(3, 3, 8, {{100, 1, 255}, {200, 2, 255}, {40, 3, 255}, {4, 5, 255}, {255, 255, 0}},
                          {0, 1, 4, 2, 3, 4, 4, 4, 4});
    const ResampledPicture out = Resample(picture.Source(), 0.5f, 0.5f);
    ASSERT_EQ(out.width, 1);
    ASSERT_EQ(out.height, 1);
    // Red 25 + 50 + 10 + 1; green 2.75 loses its fraction; blue reaches 255 exactly.
    EXPECT_EQ(Pixel(out, 0, 0), 0x0056'02FFu);
}

TEST_P(ResampleEachWay, At101ByHalfTheLastRowAndColumnContributeNothing) {
    std::vector<uint8_t> indices(101 * 101, 0);
    for (int k = 0; k < 101; ++k) {
        indices[100 * 101 + k] = 1;  // row 100: the top row of a bottom-up picture
        indices[k * 101 + 100] = 1;  // column 100
    }
    Picture picture(101, 101, 8, {{0, 0, 0}, {255, 255, 255}}, indices);
    ResampledPicture out = Resample(picture.Source(), 0.5f, 0.5f);
    ASSERT_EQ(out.width, 50);
    ASSERT_EQ(out.height, 50);
    for (uint32_t pixel : out.pixels) ASSERT_EQ(pixel, 0u);

    // Column 99 does count: half of the last destination column's span.
    for (int k = 0; k < 101; ++k) picture.rows[k * 104 + 99] = 1;
    out = Resample(picture.Source(), 0.5f, 0.5f);
    EXPECT_EQ(Pixel(out, 49, 0), 0x007F'7F7Fu);
    EXPECT_EQ(Pixel(out, 48, 49), 0u);
}

TEST_P(ResampleEachWay, FourBitRowsOfOddWidthEndOnAHighNibble) {
    const struct {
        int32_t width;
        uint32_t stride;
    } cases[] = {{1, 4}, {9, 8}, {17, 12}};
    std::vector<Rgb> colors;
    for (uint8_t k = 0; k < 16; ++k) colors.push_back(Rgb{static_cast<uint8_t>(k * 16), k, static_cast<uint8_t>(255 - k)});
    for (const auto& c : cases) {
        EXPECT_EQ(SourceStride(c.width, 4), c.stride);
        const std::vector<uint8_t> indices = Noise(static_cast<size_t>(c.width) * 3, 15, c.width);
        Picture picture(c.width, 3, 4, colors, indices);
        // The unused low nibble and the padding hold index 15, which no pixel uses.
        for (int32_t y = 0; y < 3; ++y) {
            for (uint32_t k = static_cast<uint32_t>(c.width) / 2; k < c.stride; ++k) {
                picture.rows[y * c.stride + k] |= k == static_cast<uint32_t>(c.width) / 2 ? 0x0F : 0xFF;
            }
        }
        // At factor 1.0 every weight is 1: the picture comes back pixel for pixel.
        const ResampledPicture out = Resample(picture.Source(), 1.0f, 1.0f);
        ASSERT_EQ(out.width, c.width);
        for (int32_t y = 0; y < 3; ++y) {
            for (int32_t x = 0; x < c.width; ++x) {
                const Rgb& color = colors[indices[static_cast<size_t>(y) * c.width + x]];
                EXPECT_EQ(Pixel(out, x, y), (uint32_t{color.red} << 16) | (uint32_t{color.green} << 8) | color.blue)
                    << "width " << c.width << " pixel " << x << "," << y;
            }
        }
    }
}

TEST_P(ResampleEachWay, AUniformAreaKeepsItsColourApartFromTruncation) {
    const Rgb color{200, 16, 33};
    const Picture picture(40, 30, 8, {color}, std::vector<uint8_t>(40 * 30, 0));
    for (float factor : {0.5f, 0.75f, 0.33f, 0.79777777f, 0.1f, 0.9f, 1.7f}) {
        const ResampledPicture out = Resample(picture.Source(), factor, factor);
        ASSERT_FALSE(out.pixels.empty());
        for (uint32_t pixel : out.pixels) {
            const int channels[3][2] = {
                {static_cast<int>(pixel >> 16), color.red}, {static_cast<int>((pixel >> 8) & 0xFF), color.green},
                {static_cast<int>(pixel & 0xFF), color.blue}};
            for (const auto& channel : channels) {
                ASSERT_TRUE(channel[0] == channel[1] || channel[0] == channel[1] - 1)
                    << "factor " << factor << " gave " << channel[0] << " for " << channel[1];
            }
        }
    }
    // Halving an even picture weighs every pixel by exactly 0.25.
    for (uint32_t pixel : Resample(picture.Source(), 0.5f, 0.5f).pixels) ASSERT_EQ(pixel, 0x00C8'1021u);
}

TEST_P(ResampleEachWay, SumsThatReach255StayInTheirByte) {
    const Picture white(37, 23, 8, {{255, 255, 255}}, std::vector<uint8_t>(37 * 23, 0));
    for (float factor : {0.5f, 0.75f, 0.33f, 0.79777777f, 0.1f, 0.9f, 1.7f, 0.61803399f}) {
        for (uint32_t pixel : Resample(white.Source(), factor, factor).pixels) {
            ASSERT_EQ(pixel & 0xFF00'0000u, 0u) << "factor " << factor;
            for (int shift : {0, 8, 16}) ASSERT_GE((pixel >> shift) & 0xFF, 254u) << "factor " << factor;
        }
    }
    for (uint32_t pixel : Resample(white.Source(), 0.5f, 0.5f).pixels) ASSERT_EQ(pixel, 0x00FF'FFFFu);
}

TEST_P(ResampleEachWay, PartlyCoveredPixelsCountByTheirShare) {
    // At 0.8 the spans are [0, 1.25), [1.25, 2.5), [2.5, 3.75), [3.75, 5).
    const Picture picture(5, 1, 8, {{0, 0, 0}, {255, 0, 0}}, {0, 1, 0, 0, 0});
    const ResampledPicture out = Resample(picture.Source(), 0.8f, 1.0f);
    ASSERT_EQ(out.width, 4);
    const uint32_t reds[] = {51, 153, 0, 0};  // a quarter and three quarters of the pixel, times 0.8
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(Red(Pixel(out, x, 0)), reds[x]) << x;
}

TEST_P(ResampleEachWay, AFactorOfOneOnOneAxisStillAveragesTheOther) {
    // Rows 0 and 1 average into destination row 0, rows 2 and 3 into row 1;
    // the columns stay as they are.
    const Picture picture(3, 4, 8, {{0, 0, 0}, {200, 100, 50}, {100, 60, 20}},
                          {1, 0, 2, 1, 0, 0, 2, 2, 1, 0, 0, 2});
    const ResampledPicture out = Resample(picture.Source(), 1.0f, 0.5f);
    ASSERT_EQ(out.width, 3);
    ASSERT_EQ(out.height, 2);
    EXPECT_EQ(Pixel(out, 0, 0), 0x00C8'6432u);
    EXPECT_EQ(Pixel(out, 1, 0), 0u);
    EXPECT_EQ(Pixel(out, 2, 0), 0x0032'1E0Au);
    EXPECT_EQ(Pixel(out, 0, 1), 0x0032'1E0Au);
    EXPECT_EQ(Pixel(out, 1, 1), 0x0032'1E0Au);
    EXPECT_EQ(Pixel(out, 2, 1), 0x0096'5023u);
}

TEST_P(ResampleEachWay, ATopDownSourceKeepsItsOrientation) {
    const int32_t width = 13, height = 11;
    const std::vector<uint8_t> bottomUp = Noise(width * height, 16, 5);
    std::vector<uint8_t> topDown;
    for (int32_t y = height - 1; y >= 0; --y) {
        topDown.insert(topDown.end(), bottomUp.begin() + y * width, bottomUp.begin() + (y + 1) * width);
    }
    for (int32_t bits : {4, 8}) {
        const Picture ordinary(width, height, bits, NoisyPalette(16), bottomUp);
        const Picture reversed(width, height, bits, NoisyPalette(16), topDown, true);
        for (float factor : {0.5f, 0.75f, 0.33f, 1.0f}) {
            const ResampledPicture expected = Resample(ordinary.Source(), factor, factor);
            const ResampledPicture seen = Resample(reversed.Source(), factor, factor);
            EXPECT_EQ(seen.pixels, expected.pixels) << bits << "-bit at " << factor;
        }
    }
    // The destination's first row is the picture's bottom row.
    const Picture tall(1, 4, 8, {{255, 0, 0}, {0, 0, 255}}, {1, 1, 0, 0}, true);
    const ResampledPicture two = Resample(tall.Source(), 1.0f, 0.5f);
    ASSERT_EQ(two.height, 2);
    EXPECT_EQ(Pixel(two, 0, 0), 0x00FF'0000u) << "bottom: the last rows stored";
    EXPECT_EQ(Pixel(two, 0, 1), 0x0000'00FFu);
}

TEST_P(ResampleEachWay, IndicesBeyondTheColourTableDrawBlack) {
    for (int32_t bits : {4, 8}) {
        const Picture picture(4, 2, bits, {{255, 255, 255}, {9, 9, 9}}, {0, 5, 1, 12, 0, 1, 15, 2});
        const ResampledPicture out = Resample(picture.Source(), 1.0f, 1.0f);
        const uint32_t expected[] = {0xFFFFFF, 0, 0x090909, 0, 0xFFFFFF, 0x090909, 0, 0};
        ASSERT_EQ(out.pixels.size(), 8u);
        for (size_t k = 0; k < 8; ++k) EXPECT_EQ(out.pixels[k], expected[k]) << bits << "-bit pixel " << k;
    }
}

TEST(Resample, WithoutADrawablePictureThereIsNone) {
    const Picture picture(4, 4, 8, {{1, 2, 3}}, std::vector<uint8_t>(16, 0));
    SourcePicture source = picture.Source();
    EXPECT_TRUE(ResampleAreaAverage(source, 0.2f, 1.0f).pixels.empty()) << "width 0";
    EXPECT_TRUE(ResampleAreaAverage(source, 1.0f, 0.2f).pixels.empty()) << "height 0";
    source.bitsPerPixel = 24;
    EXPECT_TRUE(ResampleAreaAverage(source, 0.5f, 0.5f).pixels.empty()) << "24-bit";
    source = picture.Source();
    source.rows = nullptr;
    EXPECT_TRUE(ResampleAreaAverage(source, 0.5f, 0.5f).pixels.empty()) << "no pixels";
    uint32_t out[4] = {7, 7, 7, 7};
    EXPECT_FALSE(ResampleAreaAverageInto(picture.Source(), -0.5f, 0.5f, Size{2, 2}, out));
    EXPECT_EQ(out[0], 7u);
}

// The precomputed spans and the columns summed side by side must give
// exactly what the algorithm, worked out pixel by pixel, gives: also on the
// edges of the groups of eight columns (widths 7, 8, 9, 15, 17, 131), with
// columns of two and three taps side by side (0.79777777), enlarged, with
// sums that reach 255 (every third colour white), and with groups whose
// source columns lie too far apart to be looked up together (700 and 613
// wide at 0.1).
TEST_P(ResampleEachWay, MatchesTheAlgorithmStepByStepBitForBit) {
    const struct {
        int32_t width, height, bits;
    } shapes[] = {{3, 3, 8},   {101, 101, 8}, {17, 9, 4},  {64, 48, 8}, {33, 77, 4},  {1, 40, 8},  {7, 6, 4},
                  {8, 8, 8},   {9, 3, 8},     {15, 11, 4}, {17, 17, 8}, {40, 23, 4},  {131, 37, 8},
                  {700, 6, 8}, {613, 5, 4}};
    const float factors[][2] = {{0.5f, 0.5f},   {0.75f, 0.75f}, {0.33f, 0.33f}, {0.79777777f, 0.79777777f},
                                {1.0f, 0.6f},   {0.1f, 0.9f},   {0.999f, 0.7f}, {0.61803399f, 0.41421f},
                                {1.7f, 2.5f},   {1.0f, 1.0f},   {3.0f, 0.5f},   {0.79777777f, 0.61f},
                                {0.5f, 1.0f},   {0.33f, 0.2f}};
    std::vector<Rgb> palette = NoisyPalette(256);
    for (size_t k = 0; k < palette.size(); k += 3) palette[k] = Rgb{255, 255, 255};
    uint32_t seed = 1;
    for (const auto& shape : shapes) {
        const uint32_t colors = shape.bits == 8 ? 256 : 16;
        const Picture picture(shape.width, shape.height, shape.bits,
                              std::vector<Rgb>(palette.begin(), palette.begin() + colors),
                              Noise(static_cast<size_t>(shape.width) * shape.height, colors, seed++));
        for (const auto& factor : factors) {
            const ResampledPicture expected = literal::Resample(picture.Source(), factor[0], factor[1]);
            const ResampledPicture seen = Resample(picture.Source(), factor[0], factor[1]);
            ASSERT_EQ(seen.width, expected.width);
            ASSERT_EQ(seen.height, expected.height);
            EXPECT_EQ(seen.pixels, expected.pixels)
                << shape.width << "x" << shape.height << " at " << factor[0] << ", " << factor[1];
        }
    }
}

std::string WayName(const testing::TestParamInfo<ResampleInstructions>& info) {
    switch (info.param) {
        case ResampleInstructions::kSse2:
            return "Sse2";
        case ResampleInstructions::kAvx:
            return "Avx";
        case ResampleInstructions::kAvx512:
            return "Avx512";
        default:
            return "Portable";
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, ResampleEachWay, testing::ValuesIn(AvailableResampleInstructions()), WayName);

// The plain path always, and SSE2 wherever the build targets it, so that the
// tests above cover the vector paths too.
TEST(ResampleInstructions, ThePlainPathFirstAndSse2OnX86) {
    const std::vector<ResampleInstructions> ways = AvailableResampleInstructions();
    ASSERT_FALSE(ways.empty());
    EXPECT_EQ(ways.front(), ResampleInstructions::kPortable);
#if defined(__SSE2__)
    EXPECT_NE(std::find(ways.begin(), ways.end(), ResampleInstructions::kSse2), ways.end());
#endif
}

// Shared among threads, each band of rows on a thread of its own, the
// pixels are those of one thread; a band whose thread the system refuses is
// computed on the calling thread, with the same pixels.
platform::Thread Refuse(void (*)(void*), void*) {
    return nullptr;
}

int startsAsked = 0;

platform::Thread RefuseEverySecond(void (*work)(void*), void* context) {
    return ++startsAsked % 2 == 0 ? nullptr : platform::StartThread(work, context);
}

TEST(ResampleThreads, AnyNumberOfBandsGivesThePixelsOfOneThread) {
    const Picture picture(131, 97, 8, NoisyPalette(256), Noise(131 * 97, 256, 7));
    const ResampledPicture expected = ResampleAreaAverage(picture.Source(), 0.61f, 0.61f);
    ASSERT_EQ(expected.height, 59);
    const struct {
        uint32_t threads;
        ThreadStarter start;
        uint32_t ran;
    } cases[] = {{1, platform::StartThread, 1}, {2, platform::StartThread, 2}, {7, platform::StartThread, 7},
                 {500, platform::StartThread, 59}, {4, Refuse, 1},           {6, RefuseEverySecond, 4}};
    for (const auto& c : cases) {
        startsAsked = 0;
        std::vector<uint32_t> pixels(expected.pixels.size(), 0xDEADBEEF);
        const ResampleRows rows(picture.Source(), 0.61f, 0.61f, Size{expected.width, expected.height}, pixels.data(),
                                WidestResampleInstructions());
        const uint32_t ran = RunResampleRows(rows, c.threads, c.start);
        EXPECT_EQ(ran, c.ran) << c.threads << " threads";
        EXPECT_EQ(pixels, expected.pixels) << c.threads << " threads";
    }
}

// Rows that a band computes, slowly, so that the other threads are still at
// work when one band fails; the band that starts at row `failingFirst` fails.
struct SlowRows {
    int32_t failingFirst;
    std::vector<char> done;
};

void ComputeSlowly(const void* context, int32_t first, int32_t end) {
    auto* rows = static_cast<SlowRows*>(const_cast<void*>(context));
    if (first == rows->failingFirst) throw std::bad_alloc();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    for (int32_t row = first; row < end; ++row) rows->done[row] = 1;
}

// However a band fails (on the calling thread while the others run, on a
// thread of its own, or on the calling thread for a thread the system
// refused), every other band is finished before the failure reaches the caller.
TEST(ResampleThreads, AFailingBandReachesTheCallerAfterEveryOtherBandHasFinished) {
    const struct {
        uint32_t threads;
        int32_t failingBand;
        ThreadStarter start;
    } cases[] = {{3, 0, platform::StartThread}, {3, 2, platform::StartThread}, {4, 2, RefuseEverySecond}};
    for (const auto& c : cases) {
        startsAsked = 0;
        constexpr int32_t kRows = 12;
        SlowRows rows{kRows * c.failingBand / static_cast<int32_t>(c.threads), std::vector<char>(kRows, 0)};
        EXPECT_THROW(RunInBands(kRows, c.threads, ComputeSlowly, &rows, c.start), std::bad_alloc);
        const int32_t failingEnd = kRows * (c.failingBand + 1) / static_cast<int32_t>(c.threads);
        for (int32_t row = 0; row < kRows; ++row) {
            const bool failed = row >= rows.failingFirst && row < failingEnd;
            EXPECT_EQ(rows.done[row], failed ? 0 : 1) << "row " << row << ", band " << c.failingBand << " failing";
        }
    }
}

TEST(ResampleThreads, OnlyAsManyAsPayAndTheProcessorsAndRowsAllow) {
    const struct {
        uint64_t contributions;
        int32_t rows;
        uint32_t processors;
        uint32_t threads;
    } cases[] = {{0, 100, 8, 1},
                 {kContributionsPerThread - 1, 100, 8, 1},
                 {2 * kContributionsPerThread, 100, 8, 2},
                 {100 * kContributionsPerThread, 100, 8, 8},
                 {100 * kContributionsPerThread, 3, 8, 3},
                 {100 * kContributionsPerThread, 100, 1, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(ResampleThreadCount(c.contributions, c.rows, c.processors), c.threads)
            << c.contributions << " products, " << c.rows << " rows, " << c.processors << " processors";
    }
}

}  // namespace
