#include "platform/XrandrDisplayModes.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Under xvfb-run with a 1280x1024x24 screen: one mode without a dot clock.
TEST(XrandrDisplayModes, ListsTheVirtualScreensModeAtThreeDepths) {
    XrandrDisplayModes display;
    std::vector<DisplayMode> modes;
    for (int i = 0; auto mode = display.Mode(i); ++i)
        modes.push_back(*mode);
    ASSERT_FALSE(modes.empty());
    bool found32 = false;
    for (const DisplayMode& m : modes) {
        if (m.width == 1280 && m.height == 1024 && m.bitsPerPixel == 32)
            found32 = true;
        EXPECT_EQ(m.refreshRate, 0u) << "Xvfb has no dot clock";
    }
    EXPECT_TRUE(found32);
    EXPECT_EQ(modes.size() % 3, 0u) << "every mode at 32, 16 and 8 bits per pixel";
    DisplayMode probe;
    probe.width = 1280, probe.height = 1024, probe.bitsPerPixel = 16;
    EXPECT_TRUE(display.Accepts(probe));
    probe.width = 42, probe.height = 37, probe.bitsPerPixel = 8;
    EXPECT_FALSE(display.Accepts(probe));
    EXPECT_EQ(display.Mode(-1), std::nullopt);
}

TEST(XrandrDisplayModes, WithoutADisplayNothingIsListedOrAccepted) {
    const std::string saved = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    setenv("DISPLAY", ":987", 1);
    XrandrDisplayModes display;
    setenv("DISPLAY", saved.c_str(), 1);
    EXPECT_EQ(display.Mode(0), std::nullopt);
    DisplayMode probe;
    probe.width = 1280, probe.height = 1024, probe.bitsPerPixel = 32;
    EXPECT_FALSE(display.Accepts(probe));
}

} // namespace
