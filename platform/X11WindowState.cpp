#include "platform/X11WindowState.h"

#include <QGuiApplication>
#include <QWidget>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

bool IsIconicOnX11(QWidget& window) {
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display || !window.isWindow() || !window.testAttribute(Qt::WA_WState_Created))
        return false;
    const Atom wmState = XInternAtom(display, "WM_STATE", True);
    if (wmState == None)
        return false; // no manager has set it on any window
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool iconic = false;
    if (XGetWindowProperty(display, static_cast<Window>(window.winId()), wmState, 0, 2, False,
                           wmState, &type, &format, &count, &after, &data) == Success &&
        data && type == wmState && format == 32 && count >= 1)
        iconic = reinterpret_cast<const long*>(data)[0] == IconicState;
    if (data)
        XFree(data);
    return iconic;
}
