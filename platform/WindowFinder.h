#pragma once

#include <string>

// Whether a top-level window with this title exists (whole title, letter case ignored).
class WindowFinder {
public:
    virtual ~WindowFinder() = default;
    virtual bool Exists(const std::string& title) = 0;
};
