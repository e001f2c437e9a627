#include "platform/DisplayModeList.h"

#include <algorithm>

std::uint32_t RefreshRate(const OutputMode& mode) {
    std::uint64_t lines = mode.vTotal;
    if (mode.doubleScan)
        lines *= 2;
    if (mode.interlaced)
        lines /= 2;
    const std::uint64_t pixels = static_cast<std::uint64_t>(mode.hTotal) * lines;
    if (pixels == 0 || mode.dotClock == 0)
        return 0;
    return static_cast<std::uint32_t>((mode.dotClock + pixels / 2) / pixels);
}

std::vector<DisplayMode> ExpandDisplayModes(const std::vector<OutputMode>& modes,
                                            const std::vector<std::uint32_t>& bitsPerPixel) {
    std::vector<DisplayMode> list;
    for (std::uint32_t depth : bitsPerPixel) {
        for (const OutputMode& m : modes) {
            DisplayMode mode;
            mode.width = m.width;
            mode.height = m.height;
            mode.bitsPerPixel = depth;
            mode.refreshRate = RefreshRate(m);
            mode.fields =
                kFieldBitsPerPel | kFieldPelsWidth | kFieldPelsHeight | kFieldDisplayFrequency;
            const bool repeat = std::any_of(list.begin(), list.end(), [&](const DisplayMode& l) {
                return l.width == mode.width && l.height == mode.height &&
                       l.bitsPerPixel == mode.bitsPerPixel && l.refreshRate == mode.refreshRate;
            });
            if (!repeat)
                list.push_back(mode);
        }
    }
    return list;
}

bool ListAccepts(const std::vector<DisplayMode>& listed, const DisplayMode& mode) {
    return std::any_of(listed.begin(), listed.end(), [&](const DisplayMode& l) {
        return l.width == mode.width && l.height == mode.height &&
               l.bitsPerPixel == mode.bitsPerPixel;
    });
}

std::vector<std::uint32_t> BitsPerPixelForScreen(int depth, int pixmapBitsPerPixel) {
    if (depth == 24 || depth == 32)
        return {32, 16, 8};
    if (pixmapBitsPerPixel > 0)
        return {static_cast<std::uint32_t>(pixmapBitsPerPixel)};
    return depth > 0 ? std::vector<std::uint32_t>{static_cast<std::uint32_t>(depth)}
                     : std::vector<std::uint32_t>{};
}
