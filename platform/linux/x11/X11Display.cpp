#include "platform/linux/x11/X11Display.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/dpms.h>
#include <X11/extensions/scrnsaver.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <deque>

namespace plintor {
namespace {

constexpr const char* AtomNames[] = {
    "WM_STATE",
    "WM_PROTOCOLS",
    "WM_DELETE_WINDOW",
    "WM_CLIENT_MACHINE",
    "_NET_WM_NAME",
    "_NET_WM_PID",
    "_NET_WM_WINDOW_TYPE",
    "_NET_WM_WINDOW_TYPE_DESKTOP",
    "_NET_WM_WINDOW_TYPE_DOCK",
    "_NET_WM_STATE",
    "_NET_WM_STATE_ABOVE",
    "_NET_ACTIVE_WINDOW",
    "_NET_CLIENT_LIST",
    "_NET_SUPPORTING_WM_CHECK",
};
static_assert(std::size(AtomNames) == static_cast<std::size_t>(XAtomName::Count));

// Longer properties are read in part: nothing read here needs more than their start.
constexpr long MaxPropertyLongs = 1 << 16;
// A window tree deeper than this is not a desktop's.
constexpr int MaxTreeDepth = 64;

struct XFreeDeleter {
    void operator()(void* data) const {
        if (data != nullptr) {
            XFree(data);
        }
    }
};

struct Property {
    std::unique_ptr<unsigned char, XFreeDeleter> data;
    int format = 0;
    unsigned long count = 0;
};

Property readProperty(Display* display, XWindow window, XAtom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, MaxPropertyLongs, False,
                                          AnyPropertyType, &type, &format, &count, &after, &data);
    Property result;
    result.data.reset(data);
    if (status == Success && type != None) {
        result.format = format;
        result.count = count;
    }
    return result;
}

bool validProcessId(long processId) {
    return processId > 0 && processId <= INT_MAX;
}

std::string hostName() {
    char name[HOST_NAME_MAX + 1] = {};
    return ::gethostname(name, sizeof name - 1) == 0 ? name : "";
}

}  // namespace

std::unique_ptr<X11Display> X11Display::open() {
    DisplayHandle display = openDisplayHandle();
    if (!display) {
        return nullptr;
    }
    return std::unique_ptr<X11Display>(new X11Display(std::move(display)));
}

X11Display::X11Display(DisplayHandle handle)
    : m_display(std::move(handle)), m_root(DefaultRootWindow(m_display.get())) {
    Display* display = m_display.get();
    XInternAtoms(display, const_cast<char**>(AtomNames), static_cast<int>(std::size(AtomNames)),
                 False, m_atoms.data());
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    m_clientIds = XResQueryExtension(display, &eventBase, &errorBase) &&
                  XResQueryVersion(display, &major, &minor) &&
                  (major > 1 || (major == 1 && minor >= 2));
    m_screenSaver = XScreenSaverQueryExtension(display, &eventBase, &errorBase);
    m_screenSaverEventBase = eventBase + ScreenSaverNotify;
    m_dpms = DPMSQueryExtension(display, &eventBase, &errorBase) && DPMSCapable(display);
}

std::vector<unsigned long> X11Display::longs(XWindow window, XAtom property) const {
    const Property read = readProperty(m_display.get(), window, property);
    if (read.format != 32) {
        return {};
    }
    // Xlib hands 32-bit items over as longs.
    const auto* items = reinterpret_cast<const unsigned long*>(read.data.get());
    return {items, items + read.count};
}

std::string X11Display::bytes(XWindow window, XAtom property) const {
    const Property read = readProperty(m_display.get(), window, property);
    if (read.format != 8) {
        return {};
    }
    return {reinterpret_cast<const char*>(read.data.get()), read.count};
}

bool X11Display::hasProperty(XWindow window, XAtom property) const {
    return readProperty(m_display.get(), window, property).format != 0;
}

bool X11Display::longsContain(XWindow window, XAtom property, unsigned long value) const {
    const std::vector<unsigned long> items = longs(window, property);
    return std::find(items.begin(), items.end(), value) != items.end();
}

bool X11Display::isIconic(XWindow window) const {
    const std::vector<unsigned long> state = longs(window, atomFor(XAtomName::WmState));
    return !state.empty() && state.front() == IconicState;
}

std::vector<XWindow> X11Display::children(XWindow window) const {
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(m_display.get(), window, &root, &parent, &children, &count)) {
        return {};
    }
    const std::unique_ptr<Window, XFreeDeleter> owned(children);
    return {children, children + count};
}

XWindow X11Display::parent(XWindow window) const {
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(m_display.get(), window, &root, &parent, &children, &count)) {
        return 0;
    }
    const std::unique_ptr<Window, XFreeDeleter> owned(children);
    return parent;
}

XWindow X11Display::topLevelOf(XWindow window) const {
    for (int depth = 0; depth < MaxTreeDepth; ++depth) {
        const XWindow above = parent(window);
        if (above == 0 || above == m_root) {
            return above == m_root ? window : 0;
        }
        window = above;
    }
    return 0;
}

XWindow X11Display::clientWindowIn(XWindow topLevel) const {
    // Breadth first, as the window manager's frame holds the client near its top.
    std::deque<std::pair<XWindow, int>> pending{{topLevel, 0}};
    while (!pending.empty()) {
        const auto [window, depth] = pending.front();
        pending.pop_front();
        if (hasProperty(window, atomFor(XAtomName::WmState))) {
            return window;
        }
        if (depth < MaxTreeDepth) {
            for (const XWindow child : children(window)) {
                pending.emplace_back(child, depth + 1);
            }
        }
    }
    return 0;
}

long X11Display::ownerProcessId(XWindow window) const {
    const long recorded = serverRecordedProcessId(window);
    return recorded != 0 ? recorded : announcedProcessId(window);
}

long X11Display::serverRecordedProcessId(XWindow window) const {
    if (!m_clientIds) {
        return 0;
    }
    XResClientIdSpec spec{window, XRES_CLIENT_ID_PID_MASK};
    long count = 0;
    XResClientIdValue* values = nullptr;
    if (XResQueryClientIds(m_display.get(), 1, &spec, &count, &values) != Success) {
        return 0;
    }
    long processId = 0;
    for (long i = 0; i < count && processId == 0; ++i) {
        if (XResGetClientIdType(&values[i]) == XRES_CLIENT_ID_PID) {
            processId = XResGetClientPid(&values[i]);
        }
    }
    XResClientIdsDestroy(count, values);
    return validProcessId(processId) ? processId : 0;
}

// _NET_WM_PID is a number on the client's machine: meaningless, and dangerous to act on, for a
// client of another machine.
long X11Display::announcedProcessId(XWindow window) const {
    const std::string machine = bytes(window, atomFor(XAtomName::WmClientMachine));
    if (machine.empty() || machine != hostName()) {
        return 0;
    }
    const std::vector<unsigned long> processIds = longs(window, atomFor(XAtomName::NetWmPid));
    if (processIds.empty() || !validProcessId(static_cast<long>(processIds.front()))) {
        return 0;
    }
    return static_cast<long>(processIds.front());
}

// A window manager that has gone leaves its check window id behind; the window itself then
// no longer points to itself.
XWindow X11Display::windowManagerCheck() const {
    const XAtom check = atomFor(XAtomName::NetSupportingWmCheck);
    const std::vector<unsigned long> announced = longs(m_root, check);
    if (announced.empty() || announced.front() == 0) {
        return 0;
    }
    const std::vector<unsigned long> confirmed = longs(announced.front(), check);
    return !confirmed.empty() && confirmed.front() == announced.front() ? announced.front() : 0;
}

}  // namespace plintor
