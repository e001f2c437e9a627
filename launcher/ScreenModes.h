#pragma once

#include "platform/DisplayModes.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class DisplayModes;

struct TScreenMode {
    std::uint16_t Width = 0;
    std::uint16_t Height = 0;
    std::uint16_t BitsPerPixel = 0;
    std::string Name; // at most 20 characters
};

// The full-screen modes offered in the mode list. Record 0 stands for list item 0, "inherit game
// settings", and is never compared; record i (i >= 1) holds the text of list item i, so at most
// 199 modes are listed.
class ScreenModeTable {
public:
    static constexpr int kCapacity = 200;

    int ScreenModeCount() const { return count_; }
    const TScreenMode& Record(int index) const { return records_[static_cast<size_t>(index)]; }
    bool Full() const { return count_ >= kCapacity; }

    // Adds the mode when no listed mode has its width, height and depth and the display accepts
    // it; returns the new list text, or empty text when the mode was left out.
    std::string AddScreenMode(const DisplayMode& mode, DisplayModes& display);

    // Feeds every candidate to AddScreenMode: the display's own modes in its order, then, unless
    // the display accepts the impossible 42 x 37 mode (a driver that says yes to everything), the
    // built-in probe modes. Returns the list texts added, in list order.
    std::vector<std::string> EnumScreenModes(DisplayModes& display);

private:
    std::array<TScreenMode, kCapacity> records_{};
    int count_ = 1;
};

struct ProbeMode {
    std::uint16_t width, height, bitsPerPixel;
};
// The 60 built-in probe modes: twelve sizes from 320 x 200 to 512 x 384, each at 8, 15, 16, 24
// and 32 bits per pixel.
const std::array<ProbeMode, 60>& BuiltInProbeModes();

// "%d x %d, %d bpp", cut to 20 characters.
std::string ScreenModeName(std::uint32_t width, std::uint32_t height, std::uint32_t bitsPerPixel);

// Enabled states of the screen-mode group's override row.
struct ScreenModeEnables {
    bool changeResolution; // cbxChangeResolution
    bool resolution;       // cbResolution
    bool refreshAndLabels; // cbHz, lblHz, lblAt
};
// After a click on either radio button: the override box follows "Full Screen"; the row follows
// the override box (enabled and checked), whatever mode is selected.
ScreenModeEnables AfterScreenRadioClick(bool fullScreenChecked, bool overrideChecked);
// After a click on the override box or a change of the mode: the mode list follows the box, the
// refresh list and its labels need a real mode (index > 0) too. Returns (resolution, refresh).
std::pair<bool, bool> AfterOverrideChange(bool overrideChecked, int selectedModeIndex);
