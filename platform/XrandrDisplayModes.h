#pragma once

#include "platform/DisplayModes.h"

#include <vector>

// The display modes of the X server's primary output (or of the first connected output when none
// is primary), read once through XRandR when the object is made. Without an X display the list
// is empty and no mode is accepted.
class XrandrDisplayModes : public DisplayModes {
public:
    XrandrDisplayModes();
    std::optional<DisplayMode> Mode(int index) override;
    bool Accepts(const DisplayMode& mode) override;

private:
    std::vector<DisplayMode> modes_;
};
