#pragma once

// Include it after GoogleTest's and Qt's headers: Xlib's macros (None, Bool, Status) break them.

#include <X11/Xlib.h>

#include <chrono>
#include <thread>

// A connection to the test's X display. Xvfb resets itself when its last client leaves (the
// cases of one test program follow each other that way), and refuses a connection during the
// reset; the reset keeps each case's root properties apart, so the connection is tried again
// for up to three seconds instead of turning the reset off.
inline Display* OpenTestDisplay() {
    Display* display = XOpenDisplay(nullptr);
    for (int i = 0; !display && i < 60; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        display = XOpenDisplay(nullptr);
    }
    return display;
}
