#include "launcher/ScreenModes.h"

#include <cstdio>

namespace {
constexpr std::uint32_t kSizeAndDepth = kFieldBitsPerPel | kFieldPelsWidth | kFieldPelsHeight;
}

std::string ScreenModeName(std::uint32_t width, std::uint32_t height, std::uint32_t bitsPerPixel) {
    char text[64];
    std::snprintf(text, sizeof text, "%d x %d, %d bpp", static_cast<int>(width),
                  static_cast<int>(height), static_cast<int>(bitsPerPixel));
    return std::string(text).substr(0, 20);
}

const std::array<ProbeMode, 60>& BuiltInProbeModes() {
    static const std::array<ProbeMode, 60> table = [] {
        const std::uint16_t sizes[12][2] = {{320, 200}, {320, 240}, {320, 350}, {320, 400},
                                            {320, 480}, {360, 200}, {360, 240}, {360, 350},
                                            {360, 400}, {360, 480}, {400, 300}, {512, 384}};
        const std::uint16_t depths[5] = {8, 15, 16, 24, 32};
        std::array<ProbeMode, 60> rows{};
        size_t i = 0;
        for (const auto& size : sizes)
            for (std::uint16_t depth : depths)
                rows[i++] = {size[0], size[1], depth};
        return rows;
    }();
    return table;
}

std::string ScreenModeTable::AddScreenMode(const DisplayMode& mode, DisplayModes& display) {
    if (Full())
        return {};
    // The record fields are 16 bits wide, as the original table's, so compare what is stored.
    const auto width = static_cast<std::uint16_t>(mode.width);
    const auto height = static_cast<std::uint16_t>(mode.height);
    const auto depth = static_cast<std::uint16_t>(mode.bitsPerPixel);
    for (int i = 1; i < count_; ++i) {
        const TScreenMode& r = records_[static_cast<size_t>(i)];
        if (r.Width == width && r.Height == height && r.BitsPerPixel == depth)
            return {};
    }
    if (!display.Accepts(mode))
        return {};
    TScreenMode& record = records_[static_cast<size_t>(count_)];
    record = {width, height, depth, ScreenModeName(width, height, depth)};
    ++count_;
    return record.Name;
}

std::vector<std::string> ScreenModeTable::EnumScreenModes(DisplayModes& display) {
    std::vector<std::string> added;
    auto add = [&](const DisplayMode& mode) {
        std::string name = AddScreenMode(mode, display);
        if (!name.empty())
            added.push_back(std::move(name));
    };
    for (int index = 0; !Full(); ++index) {
        const auto mode = display.Mode(index);
        if (!mode)
            break;
        add(*mode);
    }
    DisplayMode impossible;
    impossible.width = 42;
    impossible.height = 37;
    impossible.bitsPerPixel = 8;
    impossible.fields = kSizeAndDepth;
    if (display.Accepts(impossible))
        return added;
    for (const ProbeMode& row : BuiltInProbeModes()) {
        if (Full())
            break;
        DisplayMode mode;
        mode.width = row.width;
        mode.height = row.height;
        mode.bitsPerPixel = row.bitsPerPixel;
        mode.fields = kSizeAndDepth;
        add(mode);
    }
    return added;
}

ScreenModeEnables AfterScreenRadioClick(bool fullScreenChecked, bool overrideChecked) {
    const bool row = fullScreenChecked && overrideChecked;
    return {fullScreenChecked, row, row};
}

std::pair<bool, bool> AfterOverrideChange(bool overrideChecked, int selectedModeIndex) {
    return {overrideChecked, overrideChecked && selectedModeIndex > 0};
}
