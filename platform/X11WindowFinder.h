#pragma once

#include "platform/WindowFinder.h"

#include <string>
#include <vector>

struct _XDisplay;

// Looks for top-level windows of any other program on the X display: the window manager's client
// list where _NET_SUPPORTED announces one, otherwise the windows that carry WM_STATE (below the
// manager's frames; withdrawn ones left out) or, without a window manager, the mapped children of
// the root. The utility's own windows (_NET_WM_PID) never count. Titles come from _NET_WM_NAME,
// else WM_NAME.
class X11WindowFinder : public WindowFinder {
public:
    X11WindowFinder();
    ~X11WindowFinder() override;
    X11WindowFinder(const X11WindowFinder&) = delete;
    X11WindowFinder& operator=(const X11WindowFinder&) = delete;

    bool Exists(const std::string& title) override;
    // The titles of all top-level windows, topmost first (empty without a display).
    std::vector<std::string> Titles();

private:
    _XDisplay* display_ = nullptr;
};

// Whole-title comparison without regard to letter case (Unicode simple case folding of UTF-8).
bool SameWindowTitle(const std::string& a, const std::string& b);
