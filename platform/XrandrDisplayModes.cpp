#include "platform/XrandrDisplayModes.h"

#include "platform/DisplayModeList.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace {

// The output whose modes count: the primary one, else the first connected one with a CRTC.
RROutput ChooseOutput(Display* display, Window root, XRRScreenResources* resources) {
    RROutput primary = XRRGetOutputPrimary(display, root);
    if (primary != None)
        return primary;
    for (int i = 0; i < resources->noutput; ++i) {
        XRROutputInfo* info = XRRGetOutputInfo(display, resources, resources->outputs[i]);
        const bool usable = info && info->connection == RR_Connected && info->crtc != None;
        if (info)
            XRRFreeOutputInfo(info);
        if (usable)
            return resources->outputs[i];
    }
    return None;
}

std::vector<OutputMode> ReadOutputModes(Display* display) {
    std::vector<OutputMode> modes;
    int eventBase = 0, errorBase = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase))
        return modes;
    const Window root = DefaultRootWindow(display);
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
    if (!resources)
        return modes;
    const RROutput output = ChooseOutput(display, root, resources);
    XRROutputInfo* info = output != None ? XRRGetOutputInfo(display, resources, output) : nullptr;
    if (info) {
        bool rotated = false;
        if (info->crtc != None) {
            if (XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, info->crtc)) {
                rotated = (crtc->rotation & (RR_Rotate_90 | RR_Rotate_270)) != 0;
                XRRFreeCrtcInfo(crtc);
            }
        }
        for (int i = 0; i < info->nmode; ++i) {
            for (int j = 0; j < resources->nmode; ++j) {
                const XRRModeInfo& m = resources->modes[j];
                if (m.id != info->modes[i])
                    continue;
                OutputMode mode;
                mode.width = rotated ? m.height : m.width;
                mode.height = rotated ? m.width : m.height;
                mode.dotClock = m.dotClock;
                mode.hTotal = m.hTotal;
                mode.vTotal = m.vTotal;
                mode.doubleScan = (m.modeFlags & RR_DoubleScan) != 0;
                mode.interlaced = (m.modeFlags & RR_Interlace) != 0;
                modes.push_back(mode);
                break;
            }
        }
        XRRFreeOutputInfo(info);
    }
    XRRFreeScreenResources(resources);
    return modes;
}

int PixmapBitsPerPixel(Display* display, int depth) {
    int count = 0;
    int bits = 0;
    if (XPixmapFormatValues* formats = XListPixmapFormats(display, &count)) {
        for (int i = 0; i < count; ++i)
            if (formats[i].depth == depth)
                bits = formats[i].bits_per_pixel;
        XFree(formats);
    }
    return bits;
}

} // namespace

XrandrDisplayModes::XrandrDisplayModes() {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return;
    const int depth = DefaultDepth(display, DefaultScreen(display));
    modes_ = ExpandDisplayModes(ReadOutputModes(display),
                                BitsPerPixelForScreen(depth, PixmapBitsPerPixel(display, depth)));
    XCloseDisplay(display);
}

std::optional<DisplayMode> XrandrDisplayModes::Mode(int index) {
    if (index < 0 || static_cast<size_t>(index) >= modes_.size())
        return std::nullopt;
    return modes_[static_cast<size_t>(index)];
}

bool XrandrDisplayModes::Accepts(const DisplayMode& mode) {
    return ListAccepts(modes_, mode);
}
