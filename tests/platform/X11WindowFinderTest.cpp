#include "platform/X11WindowFinder.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "support/TestDisplay.h"

#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

// Top-level windows of another X client, titled through WM_NAME or _NET_WM_NAME.
class OtherProgram {
public:
    OtherProgram() : display_(OpenTestDisplay()) {}
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
    Atom Name(const char* name) { return XInternAtom(display_, name, False); }
    // A property of any type and format, as any client may write one.
    void Set(Window w, const char* property, Atom type, int format, const void* data, int count) {
        XChangeProperty(display_, w, Name(property), type, format, PropModeReplace,
                        static_cast<const unsigned char*>(data), count);
        XSync(display_, False);
    }
    void Remove(Window w, const char* property) {
        XDeleteProperty(display_, w, Name(property));
        XSync(display_, False);
    }
    Window Root() const { return DefaultRootWindow(display_); }

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

// The root's properties written by a client posing as a window manager: a malformed one (8 or
// 16 bits an item where 32 are due, a long run of them) reads as absent, and the search goes on
// through what remains (the other list, or the clients marked with WM_STATE).
TEST(X11WindowFinder, AMalformedManagerPropertyReadsAsAbsent) {
    OtherProgram other;
    ASSERT_TRUE(other.Ready()) << "needs an X display";
    const Window root = other.Root();
    const Window check = other.Open("check", false);
    for (Window w : {root, check})
        other.Set(w, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, 32, &check, 1);
    const Window game = other.Open("ZELTA");
    const long normal[] = {NormalState, None};
    other.Set(game, "WM_STATE", other.Name("WM_STATE"), 32, normal, 2);
    const long lists[] = {long(other.Name("_NET_CLIENT_LIST_STACKING")),
                          long(other.Name("_NET_CLIENT_LIST"))};
    const std::vector<unsigned char> junk(4 << 20, 0x5a);
    struct Case {
        const char* property;
        Atom type;
        int format;
        bool clientList; // _NET_CLIENT_LIST names the game
    } cases[] = {{"_NET_SUPPORTED", XA_ATOM, 8, false},
                 {"_NET_SUPPORTED", XA_ATOM, 16, false},
                 {"_NET_CLIENT_LIST_STACKING", XA_WINDOW, 8, true},
                 {"_NET_CLIENT_LIST_STACKING", XA_WINDOW, 16, true},
                 {"_NET_CLIENT_LIST_STACKING", XA_CARDINAL, 32, true},
                 {"_NET_SUPPORTING_WM_CHECK", XA_WINDOW, 8, false}};
    for (const Case& c : cases) {
        other.Set(root, "_NET_SUPPORTED", XA_ATOM, 32, lists, 2);
        if (c.clientList)
            other.Set(root, "_NET_CLIENT_LIST", XA_WINDOW, 32, &game, 1);
        // Xlib takes 32-bit items as longs and 16-bit ones as shorts.
        const size_t unit = c.format == 32 ? sizeof(long) : c.format == 16 ? sizeof(short) : 1;
        const int items = static_cast<int>(junk.size() / unit);
        other.Set(root, c.property, c.type, c.format, junk.data(), items);
        X11WindowFinder finder;
        EXPECT_TRUE(finder.Exists("ZELTA")) << c.property << " " << c.format;
        for (const char* name : {"_NET_SUPPORTED", "_NET_CLIENT_LIST", "_NET_CLIENT_LIST_STACKING"})
            other.Remove(root, name);
        other.Set(root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, 32, &check, 1);
    }
    other.Remove(root, "_NET_SUPPORTING_WM_CHECK");
}

} // namespace
