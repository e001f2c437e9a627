#include "platform/DisplayModeList.h"

#include <gtest/gtest.h>

namespace {

TEST(DisplayModeList, RefreshRateIsTheDotClockOverTheFramePixels) {
    struct Case {
        OutputMode mode;
        std::uint32_t hz;
    } cases[] = {
        {{1024, 768, 65000000, 1344, 806, false, false}, 60},  // 60.004
        {{1024, 768, 78750000, 1312, 800, false, false}, 75},  // 75.03
        {{640, 480, 25175000, 800, 525, false, false}, 60},    // 59.94 rounds up
        {{320, 240, 12587500, 400, 262, true, false}, 60},     // double scan doubles the lines
        {{1920, 1080, 74250000, 2200, 1125, false, true}, 60}, // interlaced halves them
        {{1280, 1024, 0, 1688, 1066, false, false}, 0},        // a virtual screen without a clock
        {{1280, 1024, 108000000, 0, 0, false, false}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RefreshRate(c.mode), c.hz) << c.mode.width << "x" << c.mode.height;
}

TEST(DisplayModeList, EveryModeComesAtEachDepthWithoutRepeats) {
    const std::vector<OutputMode> modes = {
        {1920, 1080, 148500000, 2200, 1125, false, false},
        {1920, 1080, 148500000, 2200, 1125, false, false}, // the same mode twice
        {1280, 1024, 108000000, 1688, 1066, false, false},
    };
    const auto list = ExpandDisplayModes(modes, {32, 16, 8});
    ASSERT_EQ(list.size(), 6u);
    EXPECT_EQ(list[0].bitsPerPixel, 32u);
    EXPECT_EQ(list[0].width, 1920u);
    EXPECT_EQ(list[1].width, 1280u);
    EXPECT_EQ(list[2].bitsPerPixel, 16u);
    EXPECT_EQ(list[5].bitsPerPixel, 8u);
    EXPECT_EQ(list[0].refreshRate, 60u);
    EXPECT_EQ(list[0].fields,
              kFieldBitsPerPel | kFieldPelsWidth | kFieldPelsHeight | kFieldDisplayFrequency);
}

TEST(DisplayModeList, AcceptsBySizeAndDepthOnly) {
    const auto list = ExpandDisplayModes({{800, 600, 40000000, 1056, 628, false, false}}, {32});
    DisplayMode m;
    m.width = 800, m.height = 600, m.bitsPerPixel = 32, m.refreshRate = 85;
    EXPECT_TRUE(ListAccepts(list, m)) << "the rate is not compared";
    m.bitsPerPixel = 16;
    EXPECT_FALSE(ListAccepts(list, m));
    m.bitsPerPixel = 32, m.width = 42, m.height = 37;
    EXPECT_FALSE(ListAccepts(list, m));
}

TEST(DisplayModeList, TrueColourScreensOfferThreeDepths) {
    EXPECT_EQ(BitsPerPixelForScreen(24, 32), (std::vector<std::uint32_t>{32, 16, 8}));
    EXPECT_EQ(BitsPerPixelForScreen(32, 32), (std::vector<std::uint32_t>{32, 16, 8}));
    EXPECT_EQ(BitsPerPixelForScreen(16, 16), (std::vector<std::uint32_t>{16}));
    EXPECT_EQ(BitsPerPixelForScreen(15, 16), (std::vector<std::uint32_t>{16}));
    EXPECT_EQ(BitsPerPixelForScreen(8, 0), (std::vector<std::uint32_t>{8}));
}

} // namespace
