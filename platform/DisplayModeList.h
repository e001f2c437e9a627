#pragma once

#include "platform/DisplayModes.h"

#include <cstdint>
#include <vector>

// One video mode of a display output as the X server describes it.
struct OutputMode {
    std::uint32_t width = 0, height = 0;
    std::uint64_t dotClock = 0; // Hz
    std::uint32_t hTotal = 0, vTotal = 0;
    bool doubleScan = false, interlaced = false;
};

// Refresh rate in whole hertz: the dot clock over the pixels of a frame (the lines doubled for a
// double-scan mode, halved for an interlaced one), rounded; 0 when any of them is 0.
std::uint32_t RefreshRate(const OutputMode& mode);

// The mode list a Windows program would enumerate: every output mode at each of the colour
// depths, depths in the given order and modes in output order within each, repeats (same size,
// depth and rate) left out. Each record sets width, height, depth and rate.
std::vector<DisplayMode> ExpandDisplayModes(const std::vector<OutputMode>& modes,
                                            const std::vector<std::uint32_t>& bitsPerPixel);

// Whether a mode is among the listed ones by width, height and depth.
bool ListAccepts(const std::vector<DisplayMode>& listed, const DisplayMode& mode);

// The depths a program sees for a screen depth: 32, 16 and 8 bits per pixel on a true-colour
// screen (depth 24 or 32), else the depth's own pixel size.
std::vector<std::uint32_t> BitsPerPixelForScreen(int depth, int pixmapBitsPerPixel);
