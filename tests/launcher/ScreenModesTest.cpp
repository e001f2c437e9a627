#include "launcher/ScreenModes.h"
#include "launcher/GameCommandLine.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

namespace {

DisplayMode Mode(std::uint32_t w, std::uint32_t h, std::uint32_t bpp, std::uint32_t hz = 60) {
    DisplayMode m;
    m.width = w, m.height = h, m.bitsPerPixel = bpp, m.refreshRate = hz;
    m.fields = kFieldBitsPerPel | kFieldPelsWidth | kFieldPelsHeight | kFieldDisplayFrequency;
    return m;
}

bool IsImpossibleMode(const DisplayMode& m) {
    return m.width == 42 && m.height == 37 && m.bitsPerPixel == 8;
}

TEST(ScreenModes, ADriverModeAtSeveralRatesIsListedOnceWithItsFirstVariant) {
    ScriptedDisplayModes display;
    display.listed = {Mode(1024, 768, 32, 60), Mode(1024, 768, 32, 75), Mode(1024, 768, 32, 85),
                      Mode(800, 600, 16, 60)};
    display.accepts = [](const DisplayMode& m) { return !IsImpossibleMode(m) && m.width >= 800; };
    ScreenModeTable table;
    EXPECT_EQ(table.EnumScreenModes(display),
              (std::vector<std::string>{"1024 x 768, 32 bpp", "800 x 600, 16 bpp"}));
    EXPECT_EQ(table.ScreenModeCount(), 3);
    // The repeat is dropped before the display is asked; the first variant was tested with its
    // rate.
    EXPECT_EQ(display.asked[0].refreshRate, 60u);
    EXPECT_EQ(display.asked[1].width, 800u);
}

TEST(ScreenModes, ADriverThatAcceptsTheImpossibleModeGetsNoBuiltInModes) {
    ScriptedDisplayModes display;
    display.listed = {Mode(1280, 1024, 32)};
    display.accepts = [](const DisplayMode&) { return true; };
    ScreenModeTable table;
    EXPECT_EQ(table.EnumScreenModes(display), std::vector<std::string>{"1280 x 1024, 32 bpp"});
    ASSERT_EQ(display.asked.size(), 2u);
    EXPECT_TRUE(IsImpossibleMode(display.asked[1]));
    EXPECT_EQ(display.asked[1].fields, kFieldBitsPerPel | kFieldPelsWidth | kFieldPelsHeight)
        << "no refresh rate in the test";
}

TEST(ScreenModes, ADriverThatRejectsItGetsEveryBuiltInModeItAccepts) {
    ScriptedDisplayModes display;
    display.listed = {Mode(640, 480, 32), Mode(320, 240, 16)};
    display.accepts = [](const DisplayMode& m) {
        return !IsImpossibleMode(m) && m.bitsPerPixel != 24;
    };
    ScreenModeTable table;
    const auto names = table.EnumScreenModes(display);
    // 2 driver modes, then 12 sizes x 4 accepted depths less the repeat of 320 x 240 at 16 bpp.
    ASSERT_EQ(names.size(), 2u + 48u - 1u);
    EXPECT_EQ(names[0], "640 x 480, 32 bpp");
    EXPECT_EQ(names[1], "320 x 240, 16 bpp");
    EXPECT_EQ(names[2], "320 x 200, 8 bpp") << "built-in modes follow in table order";
    EXPECT_EQ(names[3], "320 x 200, 15 bpp");
    EXPECT_EQ(names.back(), "512 x 384, 32 bpp");
    // Built-in probes carry size and depth only.
    EXPECT_EQ(display.asked.back().fields, kFieldBitsPerPel | kFieldPelsWidth | kFieldPelsHeight);
}

TEST(ScreenModes, BuiltInProbeTableRunsFrom320x200At8To512x384At32) {
    const auto& rows = BuiltInProbeModes();
    EXPECT_EQ(rows[0].width, 320);
    EXPECT_EQ(rows[0].height, 200);
    EXPECT_EQ(rows[0].bitsPerPixel, 8);
    EXPECT_EQ(rows[4].bitsPerPixel, 32);
    EXPECT_EQ(rows[5].height, 240);
    EXPECT_EQ(rows[50].width, 400);
    EXPECT_EQ(rows[59].width, 512);
    EXPECT_EQ(rows[59].height, 384);
    EXPECT_EQ(rows[59].bitsPerPixel, 32);
}

TEST(ScreenModes, TheTableHoldsAtMost199ModesAndStopsAsking) {
    ScriptedDisplayModes display;
    for (std::uint32_t i = 0; i < 250; ++i)
        display.listed.push_back(Mode(1000 + i, 700, 32));
    ScreenModeTable table;
    const auto names = table.EnumScreenModes(display);
    EXPECT_EQ(names.size(), 199u);
    EXPECT_EQ(table.ScreenModeCount(), 200);
    EXPECT_TRUE(table.Full());
    EXPECT_EQ(names.back(), "1198 x 700, 32 bpp");
    EXPECT_EQ(display.enumerated, 199) << "enumeration stops as soon as the table is full";
    EXPECT_EQ(table.AddScreenMode(Mode(1, 1, 8), display), "") << "a full table takes nothing";
    // The driver test still runs, but no built-in mode can be added.
    EXPECT_TRUE(IsImpossibleMode(display.asked.back()));
}

TEST(ScreenModes, A199thModeFromTheProbeTableStillFits) {
    ScriptedDisplayModes display;
    for (std::uint32_t i = 0; i < 197; ++i)
        display.listed.push_back(Mode(2000 + i, 700, 32));
    display.accepts = [](const DisplayMode& m) { return !IsImpossibleMode(m); };
    ScreenModeTable table;
    const auto names = table.EnumScreenModes(display);
    EXPECT_EQ(names.size(), 199u);
    EXPECT_EQ(names[197], "320 x 200, 8 bpp");
    EXPECT_EQ(names[198], "320 x 200, 15 bpp");
}

TEST(ScreenModes, NoModesAtAllLeavesOnlyAcceptedBuiltInModes) {
    ScriptedDisplayModes display;
    display.accepts = [](const DisplayMode& m) { return m.width == 512 && m.height == 384; };
    ScreenModeTable table;
    EXPECT_EQ(
        table.EnumScreenModes(display),
        (std::vector<std::string>{"512 x 384, 8 bpp", "512 x 384, 15 bpp", "512 x 384, 16 bpp",
                                  "512 x 384, 24 bpp", "512 x 384, 32 bpp"}));
}

TEST(ScreenModes, NamesAreCutTo20CharactersAndFeedTheModeArgument) {
    EXPECT_EQ(ScreenModeName(1024, 768, 32), "1024 x 768, 32 bpp");
    EXPECT_EQ(ScreenModeName(10240, 76800, 32), "10240 x 76800, 32 bp");
    EXPECT_EQ(GetModeArgument(ScreenModeName(1024, 768, 32), true, "85"), "1024x768x85");
    EXPECT_EQ(GetModeArgument(ScreenModeName(1024, 768, 32), false, "85"), "1024x768x60");
}

TEST(ScreenModes, EnableRulesOfTheOverrideRow) {
    // After a radio click the row follows the override box whatever mode is selected.
    struct RadioCase {
        bool full, override;
        bool box, row;
    } radio[] = {{true, true, true, true},
                 {true, false, true, false},
                 {false, true, false, false},
                 {false, false, false, false}};
    for (const auto& c : radio) {
        const auto e = AfterScreenRadioClick(c.full, c.override);
        EXPECT_EQ(e.changeResolution, c.box);
        EXPECT_EQ(e.resolution, c.row);
        EXPECT_EQ(e.refreshAndLabels, c.row);
    }
    EXPECT_EQ(AfterOverrideChange(true, 0), std::make_pair(true, false));
    EXPECT_EQ(AfterOverrideChange(true, 3), std::make_pair(true, true));
    EXPECT_EQ(AfterOverrideChange(false, 3), std::make_pair(false, false));
    EXPECT_EQ(AfterOverrideChange(true, -1), std::make_pair(true, false));
}

} // namespace
