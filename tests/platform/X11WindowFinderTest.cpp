#include "platform/X11WindowFinder.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstring>
#include <unistd.h>

namespace {

// Top-level windows of another X client, titled through WM_NAME or _NET_WM_NAME.
class OtherProgram {
public:
    OtherProgram() : display_(XOpenDisplay(nullptr)) {}
    ~OtherProgram() {
        if (display_)
            XCloseDisplay(display_);
    }
    bool Ready() const { return display_ != nullptr; }

    Window Open(const char* title, bool mapped = true, bool netName = false) {
        Window w =
            XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 50, 50, 0, 0, 0);
        if (netName) {
            XStoreName(display_, w, "old-style name");
            XChangeProperty(display_, w, XInternAtom(display_, "_NET_WM_NAME", False),
                            XInternAtom(display_, "UTF8_STRING", False), 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(title), int(strlen(title)));
        } else {
            XStoreName(display_, w, title);
        }
        if (mapped)
            XMapWindow(display_, w);
        XSync(display_, False);
        return w;
    }
    // Marks a window as one of a process (_NET_WM_PID).
    void SetPid(Window w, long pid) {
        XChangeProperty(display_, w, XInternAtom(display_, "_NET_WM_PID", False), XA_CARDINAL, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
        XSync(display_, False);
    }
    void Close(Window w) {
        XDestroyWindow(display_, w);
        XSync(display_, False);
    }

private:
    Display* display_;
};

TEST(X11WindowFinder, MatchesWholeTitlesWithoutRegardToCase) {
    OtherProgram other;
    ASSERT_TRUE(other.Ready()) << "needs an X display";
    X11WindowFinder finder;
    EXPECT_FALSE(finder.Exists("ZELTA"));
    const Window game = other.Open("ZELTA");
    other.Open("Load Level - ZELTA");
    other.Open("Réglages", true, true);
    other.Open("Settings", false);                   // never mapped: not found
    other.SetPid(other.Open("Language"), getpid());  // the utility's own window: not found
    other.SetPid(other.Open("About"), getpid() + 1); // another program's
    EXPECT_TRUE(finder.Exists("ZELTA"));
    EXPECT_TRUE(finder.Exists("zelta"));
    EXPECT_FALSE(finder.Exists("ZELT"));
    EXPECT_FALSE(finder.Exists("Load Level"));
    EXPECT_TRUE(finder.Exists("RÉGLAGES"));
    EXPECT_FALSE(finder.Exists("old-style name"));
    EXPECT_FALSE(finder.Exists("Settings"));
    EXPECT_FALSE(finder.Exists("Language"));
    EXPECT_TRUE(finder.Exists("About"));
    other.Close(game);
    EXPECT_FALSE(finder.Exists("ZELTA"));
}

} // namespace
