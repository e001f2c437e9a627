#pragma once

// Whether an X11 window manager took the request to minimise the main window while the game
// runs. Not every one does: GNOME's mutter ignores it for a window that offers no minimise
// function (the main window has no minimise box), and gamescope refuses it altogether. The
// window is looked at every kIconicCheckInterval milliseconds after the request; one that is not
// iconic after kIconicWaitLimit is hidden instead, as on Wayland.
inline constexpr int kIconicCheckInterval = 100;
inline constexpr int kIconicWaitLimit = 1000;

enum class MinimiseCheck {
    Iconic, // the manager minimised it: restored after the game
    Wait,   // look again after the interval
    Hide,   // not taken: hidden now, shown after the game
};

MinimiseCheck CheckMinimised(bool iconic, int waitedMilliseconds);
