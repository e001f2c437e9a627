#include "platform/X11WindowFinder.h"

#include <QString>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <optional>

#include <unistd.h>

namespace {

// A window property as the server holds it: its type and format (8, 16 or 32 bits an item) and
// its items, which Xlib hands over as chars, shorts or longs. Any client may write any property
// in any form, so each reader checks the type and format it expects.
struct PropertyData {
    Atom type = None; // None: the window has no such property
    int format = 0;
    unsigned long count = 0;
    std::vector<unsigned char> bytes;
};

// Asking for a type other than AnyPropertyType, a property of another type comes without items.
PropertyData ReadProperty(Display* display, Window window, Atom property, Atom type) {
    PropertyData read;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 1 << 20, False, type, &read.type,
                           &read.format, &count, &after, &data) != Success)
        read.type = None;
    const size_t unit = read.format == 32   ? sizeof(long)
                        : read.format == 16 ? sizeof(short)
                        : read.format == 8  ? 1
                                            : 0;
    if (data && read.type != None && unit > 0) {
        read.count = count;
        read.bytes.assign(data, data + count * unit);
    }
    if (data)
        XFree(data);
    return read;
}

// A property of 32-bit items of the given type (windows, atoms, cardinals); none when it has
// another type or format.
std::vector<unsigned long> LongList(Display* display, Window window, Atom property, Atom type) {
    const PropertyData read = ReadProperty(display, window, property, type);
    if (read.type != type || read.format != 32)
        return {};
    std::vector<unsigned long> items(read.count);
    for (unsigned long i = 0; i < read.count; ++i)
        items[i] = reinterpret_cast<const unsigned long*>(read.bytes.data())[i];
    return items;
}

// A text property of 8-bit items of the given type; empty when it has another type or format.
std::string Text8(Display* display, Window window, Atom property, Atom type) {
    const PropertyData read = ReadProperty(display, window, property, type);
    if (read.type != type || read.format != 8)
        return {};
    return std::string(read.bytes.begin(), read.bytes.end());
}

std::vector<Window> WindowList(Display* display, Window window, Atom property) {
    return LongList(display, window, property, XA_WINDOW);
}

std::vector<Atom> AtomList(Display* display, Window window, Atom property) {
    return LongList(display, window, property, XA_ATOM);
}

bool HasWindowManager(Display* display, Window root) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    const auto supporting = WindowList(display, root, check);
    if (supporting.size() != 1)
        return false;
    const auto self = WindowList(display, supporting[0], check);
    return self.size() == 1 && self[0] == supporting[0];
}

// The clients in the window manager's list, bottom-most first, where _NET_SUPPORTED announces
// one (the stacking order first); nothing where the manager keeps neither list, as XWayland's
// does, or where no manager runs.
std::optional<std::vector<Window>> AnnouncedClientList(Display* display, Window root) {
    if (!HasWindowManager(display, root))
        return std::nullopt;
    const auto supported = AtomList(display, root, XInternAtom(display, "_NET_SUPPORTED", False));
    std::optional<std::vector<Window>> clients;
    for (const char* name : {"_NET_CLIENT_LIST_STACKING", "_NET_CLIENT_LIST"}) {
        const Atom list = XInternAtom(display, name, False);
        if (std::find(supported.begin(), supported.end(), list) == supported.end())
            continue;
        clients = WindowList(display, root, list);
        if (!clients->empty())
            break;
    }
    return clients;
}

// The ICCCM state a window manager keeps in WM_STATE: -1 without the property. A WM_STATE of
// another form still marks a client its manager keeps, taken as shown.
constexpr long kNoState = -1;
long ClientState(Display* display, Window window, Atom wmState) {
    const PropertyData read = ReadProperty(display, window, wmState, AnyPropertyType);
    if (read.type == None)
        return kNoState;
    if (read.type != wmState || read.format != 32 || read.count == 0)
        return NormalState;
    return reinterpret_cast<const long*>(read.bytes.data())[0];
}

// The client window below a frame of a reparenting window manager: the one carrying WM_STATE.
Window FindClient(Display* display, Window window, Atom wmState, int depth) {
    if (ClientState(display, window, wmState) != kNoState)
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

// The top-level windows of every program, topmost first, without an EWMH client list: the
// clients that carry WM_STATE (inside their frames under a reparenting manager) and are not
// withdrawn, and, where no manager runs, the mapped children of the root.
std::vector<Window> WalkClients(Display* display, Window root, bool managed) {
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    std::vector<Window> clients;
    Window rootReturn = None, parent = None, *children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, root, &rootReturn, &parent, &children, &count)) {
        for (unsigned int i = count; i-- > 0;) {
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(display, children[i], &attributes))
                continue;
            const Window client = FindClient(display, children[i], wmState, 0);
            if (client != None && ClientState(display, client, wmState) != WithdrawnState)
                clients.push_back(client);
            else if (!managed && attributes.map_state == IsViewable &&
                     !attributes.override_redirect)
                clients.push_back(children[i]);
        }
    }
    if (children)
        XFree(children);
    return clients;
}

// A window of this very process (its _NET_WM_PID, on this host): the utility's own windows are
// never taken for the game's.
bool OwnWindow(Display* display, Window window) {
    const auto pid =
        LongList(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL);
    if (pid.size() != 1 || static_cast<long>(pid[0]) != getpid())
        return false;
    const std::string machine = Text8(display, window, XA_WM_CLIENT_MACHINE, XA_STRING);
    if (machine.empty())
        return true;
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    return machine == host;
}

std::string Title(Display* display, Window window) {
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const std::string name = Text8(display, window, netName, utf8);
    if (!name.empty())
        return name;
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
    if (auto list = AnnouncedClientList(display, root)) {
        clients = std::move(*list);
        std::reverse(clients.begin(), clients.end());
    } else {
        clients = WalkClients(display, root, HasWindowManager(display, root));
    }
    std::erase_if(clients, [display](Window window) { return OwnWindow(display, window); });
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
