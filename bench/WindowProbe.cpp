// Starts a program and prints, in seconds, the time from its start until a top-level window whose
// title begins with the given text is mapped on the X display, then ends the program.
// Usage: scu_window_probe TITLE TIMEOUT_SECONDS PROGRAM [ARGUMENTS...]
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string Property(Display* display, Window window, Atom property) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(display, window, property, 0, 1024, False, AnyPropertyType, &type,
                           &format, &count, &after, &data) == Success &&
        data && format == 8)
        text.assign(reinterpret_cast<const char*>(data), count);
    if (data)
        XFree(data);
    return text;
}

bool TitleStartsWith(Display* display, Window window, const std::string& prefix) {
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    for (Atom property : {netName, static_cast<Atom>(XA_WM_NAME)})
        if (Property(display, window, property).rfind(prefix, 0) == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s TITLE TIMEOUT_SECONDS PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const std::string title = argv[1];
    const double timeout = std::atof(argv[2]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    // Listening before the start, so no mapping can be missed.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        close(ConnectionNumber(display));
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    int status = 1;
    while (elapsed() < timeout) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && TitleStartsWith(display, event.xmap.window, title)) {
                std::printf("%.3f\n", elapsed());
                status = 0;
                break;
            }
        }
        if (status == 0)
            break;
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, 10);
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "the program ended before its window appeared\n");
            XCloseDisplay(display);
            return 1;
        }
    }
    if (status != 0)
        std::fprintf(stderr, "no window \"%s\" within %.0f s\n", title.c_str(), timeout);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    return status;
}
