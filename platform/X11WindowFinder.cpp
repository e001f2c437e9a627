#include "platform/X11WindowFinder.h"

#include <QString>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>

namespace {

std::vector<unsigned char> Property(Display* display, Window window, Atom property, Atom type,
                                    unsigned long* items = nullptr) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned char> bytes;
    if (XGetWindowProperty(display, window, property, 0, 1 << 20, False, type, &actualType, &format,
                           &count, &after, &data) == Success &&
        data && actualType != None) {
        const size_t unit = format == 32 ? sizeof(long) : static_cast<size_t>(format / 8);
        bytes.assign(data, data + count * unit);
        if (items)
            *items = count;
    }
    if (data)
        XFree(data);
    return bytes;
}

std::vector<Window> WindowList(Display* display, Window window, Atom property) {
    unsigned long count = 0;
    const auto bytes = Property(display, window, property, XA_WINDOW, &count);
    std::vector<Window> windows(count);
    for (unsigned long i = 0; i < count; ++i)
        windows[i] = reinterpret_cast<const long*>(bytes.data())[i];
    return windows;
}

bool HasWindowManager(Display* display, Window root) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    const auto supporting = WindowList(display, root, check);
    if (supporting.size() != 1)
        return false;
    const auto self = WindowList(display, supporting[0], check);
    return self.size() == 1 && self[0] == supporting[0];
}

bool HasProperty(Display* display, Window window, Atom property) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const bool found = XGetWindowProperty(display, window, property, 0, 0, False, AnyPropertyType,
                                          &actualType, &format, &count, &after, &data) == Success &&
                       actualType != None;
    if (data)
        XFree(data);
    return found;
}

// The client window below a frame of a reparenting window manager: the one carrying WM_STATE.
Window FindClient(Display* display, Window window, Atom wmState, int depth) {
    if (HasProperty(display, window, wmState))
        return window;
    if (depth > 4)
        return None;
    Window root = None, parent = None, *children = nullptr;
    unsigned int count = 0;
    Window found = None;
    if (XQueryTree(display, window, &root, &parent, &children, &count)) {
        for (unsigned int i = count; i-- > 0 && found == None;)
            found = FindClient(display, children[i], wmState, depth + 1);
    }
    if (children)
        XFree(children);
    return found;
}

std::string Title(Display* display, Window window) {
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const auto name = Property(display, window, netName, utf8);
    if (!name.empty())
        return std::string(name.begin(), name.end());
    XTextProperty text;
    std::string result;
    if (XGetWMName(display, window, &text) && text.value) {
        char** list = nullptr;
        int count = 0;
        if (Xutf8TextPropertyToTextList(display, &text, &list, &count) >= Success && list &&
            count > 0)
            result = list[0];
        if (list)
            XFreeStringList(list);
        XFree(text.value);
    }
    return result;
}

int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

bool SameWindowTitle(const std::string& a, const std::string& b) {
    return QString::fromUtf8(a).compare(QString::fromUtf8(b), Qt::CaseInsensitive) == 0;
}

X11WindowFinder::X11WindowFinder() {
    display_ = XOpenDisplay(nullptr);
}

X11WindowFinder::~X11WindowFinder() {
    if (display_)
        XCloseDisplay(display_);
}

std::vector<std::string> X11WindowFinder::Titles() {
    std::vector<std::string> titles;
    if (!display_)
        return titles;
    // Windows may vanish while they are inspected; such errors are not faults.
    auto* previous = XSetErrorHandler(IgnoreErrors);
    Display* display = display_;
    const Window root = DefaultRootWindow(display);
    std::vector<Window> clients;
    if (HasWindowManager(display, root)) {
        clients =
            WindowList(display, root, XInternAtom(display, "_NET_CLIENT_LIST_STACKING", False));
        if (clients.empty())
            clients = WindowList(display, root, XInternAtom(display, "_NET_CLIENT_LIST", False));
        std::reverse(clients.begin(), clients.end());
    } else {
        const Atom wmState = XInternAtom(display, "WM_STATE", False);
        Window rootReturn = None, parent = None, *children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, root, &rootReturn, &parent, &children, &count)) {
            for (unsigned int i = count; i-- > 0;) {
                XWindowAttributes attributes;
                if (!XGetWindowAttributes(display, children[i], &attributes))
                    continue;
                if (Window client = FindClient(display, children[i], wmState, 0); client != None)
                    clients.push_back(client);
                else if (attributes.map_state == IsViewable && !attributes.override_redirect)
                    clients.push_back(children[i]);
            }
        }
        if (children)
            XFree(children);
    }
    for (Window window : clients)
        titles.push_back(Title(display, window));
    XSync(display, False);
    XSetErrorHandler(previous);
    return titles;
}

bool X11WindowFinder::Exists(const std::string& title) {
    for (const std::string& candidate : Titles())
        if (SameWindowTitle(candidate, title))
            return true;
    return false;
}
