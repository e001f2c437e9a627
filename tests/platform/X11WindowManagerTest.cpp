// The window search under reparenting window managers started on the test's own X display: openbox,
// whose client lists the finder reads, and a manager that announces itself but keeps no lists (as
// XWayland's does), where the finder looks through the frames for the clients carrying WM_STATE.
#include "platform/X11WindowFinder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "support/TestDisplay.h"

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

// A reparenting manager that announces itself through _NET_SUPPORTING_WM_CHECK but names no
// client list in _NET_SUPPORTED and keeps none: it frames each mapped window, marks the client
// with WM_STATE (NormalState, WithdrawnState once the client unmaps itself) and drops the frame
// when the client goes. Runs in a child process until killed.
[[noreturn]] void RunManagerWithoutLists() {
    Display* d = OpenTestDisplay();
    if (!d)
        _exit(1);
    XSetErrorHandler(IgnoreErrors);
    const Window root = DefaultRootWindow(d);
    XSelectInput(d, root, SubstructureRedirectMask | SubstructureNotifyMask);
    const Window check = XCreateSimpleWindow(d, root, 0, 0, 1, 1, 0, 0, 0);
    const Atom checkAtom = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
    for (Window w : {root, check})
        XChangeProperty(d, w, checkAtom, XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&check), 1);
    const long supported[] = {long(XInternAtom(d, "_NET_WM_STATE", False)),
                              long(XInternAtom(d, "_NET_ACTIVE_WINDOW", False))};
    XChangeProperty(d, root, XInternAtom(d, "_NET_SUPPORTED", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(supported), 2);
    const Atom wmState = XInternAtom(d, "WM_STATE", False);
    auto setState = [&](Window client, long state) {
        const long value[] = {state, None};
        XChangeProperty(d, client, wmState, wmState, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(value), 2);
    };
    std::vector<std::pair<Window, Window>> frames; // client, frame
    XSync(d, False);
    for (;;) {
        XEvent e;
        XNextEvent(d, &e);
        if (e.type == MapRequest) {
            const Window client = e.xmaprequest.window;
            const Window frame = XCreateSimpleWindow(d, root, 0, 0, 300, 200, 0, 0, 0);
            XSelectInput(d, frame, SubstructureNotifyMask);
            XReparentWindow(d, client, frame, 4, 20);
            frames.emplace_back(client, frame);
            setState(client, NormalState);
            XMapWindow(d, client);
            XMapWindow(d, frame);
        } else if (e.type == UnmapNotify && e.xunmap.event != root) {
            setState(e.xunmap.window, WithdrawnState);
        } else if (e.type == DestroyNotify) {
            for (auto& [client, frame] : frames)
                if (client == e.xdestroywindow.window && frame != None) {
                    XDestroyWindow(d, frame);
                    frame = None;
                }
        } else if (e.type == ConfigureRequest) {
            XWindowChanges changes{e.xconfigurerequest.x,
                                   e.xconfigurerequest.y,
                                   e.xconfigurerequest.width,
                                   e.xconfigurerequest.height,
                                   e.xconfigurerequest.border_width,
                                   None,
                                   Above};
            XConfigureWindow(d, e.xconfigurerequest.window,
                             e.xconfigurerequest.value_mask & ~(CWSibling | CWStackMode), &changes);
        }
        XFlush(d);
    }
}

class WindowManagerTest : public ::testing::Test {
protected:
    // Starts a manager (openbox when none is given) and waits until it frames windows.
    void StartManager(std::function<void()> runManager = {}) {
        display = OpenTestDisplay();
        ASSERT_NE(display, nullptr) << "needs an X display";
        XSetErrorHandler(IgnoreErrors);
        root = DefaultRootWindow(display);
        manager = fork();
        if (manager == 0) {
            // Whatever the manager keeps goes into the test's own folder.
            setenv("HOME", home.Path().c_str(), 1);
            setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
            setenv("XDG_CACHE_HOME", (home / "cache").c_str(), 1);
            if (runManager)
                runManager();
            execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(manager, 0);
        // The manager announces itself before it takes map requests: a probe window is mapped
        // afresh until the manager frames it.
        ASSERT_TRUE(Eventually([this] { return Managed(); }))
            << "the window manager did not start on the display (is openbox installed?)";
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
        ASSERT_TRUE(framed) << "the window manager does not frame windows";
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
                               False, AnyPropertyType, &type, &format, &count, &after,
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
    bool HasState(Window window) { return !WindowsOf(window, "WM_STATE").empty(); }
    // A top-level window of this client, titled through WM_NAME or _NET_WM_NAME, once the
    // manager has framed it and listed it (or, for a manager without lists, marked it).
    Window Open(const char* title, bool netName, bool listed = true) {
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
            return Parent(w) != root &&
                   (listed ? std::find(list.begin(), list.end(), w) != list.end() : HasState(w));
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
    StartManager();
    ASSERT_FALSE(HasFatalFailure());
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

TEST_F(WindowManagerTest, FindsFramedClientsOfAManagerWithoutClientLists) {
    StartManager(RunManagerWithoutLists);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(Stacking().empty());
    X11WindowFinder finder;
    const Window game = Open("ZELTA", false, false);
    const Window dialog = Open("Load Level", true, false);
    EXPECT_TRUE(finder.Exists("zelta"));
    EXPECT_TRUE(finder.Exists("Load Level"));
    EXPECT_FALSE(finder.Exists("Settings"));

    // A client that unmaps itself is withdrawn, not running.
    XUnmapWindow(display, dialog);
    XSync(display, False);
    ASSERT_TRUE(Eventually([&] {
        const auto state = WindowsOf(dialog, "WM_STATE");
        return !state.empty() && state[0] == WithdrawnState;
    }));
    EXPECT_FALSE(finder.Exists("Load Level"));

    XDestroyWindow(display, game);
    XSync(display, False);
    EXPECT_TRUE(Eventually([&] { return !finder.Exists("ZELTA"); }));
    XDestroyWindow(display, dialog);
}

} // namespace
