#pragma once

// The application's presence on the desktop while the game runs.
class AppWindow {
public:
    virtual ~AppWindow() = default;
    // Out of the player's way while the game runs (minimised, or hidden where minimising cannot
    // be undone or the window manager does not minimise), and back afterwards.
    virtual void Minimise() = 0;
    virtual void Restore() = 0;
    // Off screen and out of the task bar, for a package played from the desktop.
    virtual void HideFromDesktop() = 0;
};
