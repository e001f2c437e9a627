// The window search under a real reparenting window manager (openbox), started on the test's own
// X display: the finder reads the manager's client list and looks through the frames.
#include "platform/X11WindowFinder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <functional>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

// Waits for a condition of the display; false when it did not come within a generous bound.
bool Eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 1000; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

class WindowManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr) << "needs an X display";
        XSetErrorHandler(IgnoreErrors);
        root = DefaultRootWindow(display);
        manager = fork();
        if (manager == 0) {
            // Whatever the manager keeps goes into the test's own folder.
            setenv("HOME", home.Path().c_str(), 1);
            setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
            setenv("XDG_CACHE_HOME", (home / "cache").c_str(), 1);
            execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(manager, 0);
        // The manager announces itself before it takes map requests: a probe window is mapped
        // afresh until the manager frames it.
        ASSERT_TRUE(Eventually([this] { return Managed(); }))
            << "openbox did not start on the display (is it installed?)";
        const Window probe = XCreateSimpleWindow(display, root, 0, 0, 10, 10, 0, 0, 0);
        bool framed = false;
        for (int attempt = 0; attempt < 100 && !framed; ++attempt) {
            XUnmapWindow(display, probe);
            XMapWindow(display, probe);
            XSync(display, False);
            for (int poll = 0; poll < 25 && !framed; ++poll) {
                framed = Parent(probe) != root;
                if (!framed)
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        XDestroyWindow(display, probe);
        XSync(display, False);
        ASSERT_TRUE(framed) << "openbox does not frame windows";
    }
    void TearDown() override {
        if (manager > 0) {
            kill(manager, SIGTERM);
            waitpid(manager, nullptr, 0);
        }
        if (display)
            XCloseDisplay(display);
    }

    std::vector<Window> WindowsOf(Window window, const char* property) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::vector<Window> windows;
        if (XGetWindowProperty(display, window, XInternAtom(display, property, False), 0, 4096,
                               False, XA_WINDOW, &type, &format, &count, &after,
                               &data) == Success &&
            data)
            windows.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
        if (data)
            XFree(data);
        return windows;
    }
    bool Managed() { return WindowsOf(root, "_NET_SUPPORTING_WM_CHECK").size() == 1; }
    std::vector<Window> Stacking() { return WindowsOf(root, "_NET_CLIENT_LIST_STACKING"); }
    Window Parent(Window window) {
        Window rootReturn = None, parent = None, *children = nullptr;
        unsigned int count = 0;
        XQueryTree(display, window, &rootReturn, &parent, &children, &count);
        if (children)
            XFree(children);
        return parent;
    }
    // A top-level window of this client, titled through WM_NAME or _NET_WM_NAME, once the
    // manager has framed it and listed it.
    Window Open(const char* title, bool netName) {
        Window w = XCreateSimpleWindow(display, root, 0, 0, 120, 80, 0, 0, 0);
        if (netName)
            XChangeProperty(display, w, XInternAtom(display, "_NET_WM_NAME", False),
                            XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(title), int(strlen(title)));
        else
            XStoreName(display, w, title);
        XMapWindow(display, w);
        XSync(display, False);
        EXPECT_TRUE(Eventually([&] {
            const auto list = Stacking();
            return Parent(w) != root && std::find(list.begin(), list.end(), w) != list.end();
        })) << title
            << " was not framed and listed";
        return w;
    }

    TempFolder home;
    Display* display = nullptr;
    Window root = None;
    pid_t manager = -1;
};

TEST_F(WindowManagerTest, FindsFramedClientsThroughTheStackingList) {
    X11WindowFinder finder;
    const Window game = Open("ZELTA", false);
    const Window dialog = Open("Load Level", true);
    EXPECT_TRUE(finder.Exists("zelta"));
    EXPECT_TRUE(finder.Exists("Load Level"));
    EXPECT_FALSE(finder.Exists("Settings"));

    // Topmost first, as the manager stacks them.
    XRaiseWindow(display, game);
    XSync(display, False);
    ASSERT_TRUE(Eventually([&] { return !Stacking().empty() && Stacking().back() == game; }));
    auto titles = finder.Titles();
    auto at = [&](const char* title) {
        return std::find(titles.begin(), titles.end(), title) - titles.begin();
    };
    EXPECT_LT(at("ZELTA"), at("Load Level"));

    XDestroyWindow(display, game);
    XSync(display, False);
    ASSERT_TRUE(Eventually([&] {
        const auto list = Stacking();
        return std::find(list.begin(), list.end(), game) == list.end();
    }));
    EXPECT_FALSE(finder.Exists("ZELTA"));
    EXPECT_TRUE(finder.Exists("Load Level"));
    XDestroyWindow(display, dialog);
}

} // namespace
