#include "platform/x11/X11Display.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
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
    "_NET_SUPPORTING_WM_CHECK",
};
static_assert(std::size(AtomNames) == static_cast<std::size_t>(TXAtomName::Count));

// Longer properties are read in part: nothing read here needs more than their start.
constexpr long MaxPropertyLongs = 1 << 16;
// A window tree deeper than this is not a desktop's.
constexpr int MaxTreeDepth = 64;

struct TXFree {
    void operator()(void* data) const {
        if (data != nullptr) {
            XFree(data);
        }
    }
};

struct TProperty {
    std::unique_ptr<unsigned char, TXFree> Data;
    int Format = 0;
    unsigned long Count = 0;
};

TProperty ReadProperty(Display* display, TXWindow window, TXAtom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, MaxPropertyLongs, False,
                                          AnyPropertyType, &type, &format, &count, &after, &data);
    TProperty result;
    result.Data.reset(data);
    if (status == Success && type != None) {
        result.Format = format;
        result.Count = count;
    }
    return result;
}

bool ValidProcessId(long processId) {
    return processId > 0 && processId <= INT_MAX;
}

std::string HostName() {
    char name[HOST_NAME_MAX + 1] = {};
    return ::gethostname(name, sizeof name - 1) == 0 ? name : "";
}

}  // namespace

std::unique_ptr<TX11Display> TX11Display::Open() {
    TDisplayHandle display = OpenDisplayHandle();
    if (!display) {
        return nullptr;
    }
    return std::unique_ptr<TX11Display>(new TX11Display(std::move(display)));
}

TX11Display::TX11Display(TDisplayHandle handle)
    : FDisplay(std::move(handle)), FRoot(DefaultRootWindow(FDisplay.get())) {
    Display* display = FDisplay.get();
    XInternAtoms(display, const_cast<char**>(AtomNames), static_cast<int>(std::size(AtomNames)),
                 False, FAtoms.data());
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    FClientIds = XResQueryExtension(display, &eventBase, &errorBase) &&
                 XResQueryVersion(display, &major, &minor) &&
                 (major > 1 || (major == 1 && minor >= 2));
    FScreenSaver = XScreenSaverQueryExtension(display, &eventBase, &errorBase);
    FDpms = DPMSQueryExtension(display, &eventBase, &errorBase) && DPMSCapable(display);
}

std::vector<unsigned long> TX11Display::Longs(TXWindow window, TXAtom property) const {
    const TProperty read = ReadProperty(FDisplay.get(), window, property);
    if (read.Format != 32) {
        return {};
    }
    // Xlib hands 32-bit items over as longs.
    const auto* items = reinterpret_cast<const unsigned long*>(read.Data.get());
    return {items, items + read.Count};
}

std::string TX11Display::Bytes(TXWindow window, TXAtom property) const {
    const TProperty read = ReadProperty(FDisplay.get(), window, property);
    if (read.Format != 8) {
        return {};
    }
    return {reinterpret_cast<const char*>(read.Data.get()), read.Count};
}

bool TX11Display::HasProperty(TXWindow window, TXAtom property) const {
    return ReadProperty(FDisplay.get(), window, property).Format != 0;
}

bool TX11Display::LongsContain(TXWindow window, TXAtom property, unsigned long value) const {
    const std::vector<unsigned long> items = Longs(window, property);
    return std::find(items.begin(), items.end(), value) != items.end();
}

std::vector<TXWindow> TX11Display::Children(TXWindow window) const {
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(FDisplay.get(), window, &root, &parent, &children, &count)) {
        return {};
    }
    const std::unique_ptr<Window, TXFree> owned(children);
    return {children, children + count};
}

TXWindow TX11Display::Parent(TXWindow window) const {
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(FDisplay.get(), window, &root, &parent, &children, &count)) {
        return 0;
    }
    const std::unique_ptr<Window, TXFree> owned(children);
    return parent;
}

TXWindow TX11Display::TopLevelOf(TXWindow window) const {
    for (int depth = 0; depth < MaxTreeDepth; ++depth) {
        const TXWindow parent = Parent(window);
        if (parent == 0 || parent == FRoot) {
            return parent == FRoot ? window : 0;
        }
        window = parent;
    }
    return 0;
}

TXWindow TX11Display::ClientWindowIn(TXWindow topLevel) const {
    // Breadth first, as the window manager's frame holds the client near its top.
    std::deque<std::pair<TXWindow, int>> pending{{topLevel, 0}};
    while (!pending.empty()) {
        const auto [window, depth] = pending.front();
        pending.pop_front();
        if (HasProperty(window, AtomFor(TXAtomName::WmState))) {
            return window;
        }
        if (depth < MaxTreeDepth) {
            for (const TXWindow child : Children(window)) {
                pending.emplace_back(child, depth + 1);
            }
        }
    }
    return 0;
}

long TX11Display::OwnerProcessId(TXWindow window) const {
    const long recorded = ServerRecordedProcessId(window);
    return recorded != 0 ? recorded : AnnouncedProcessId(window);
}

long TX11Display::ServerRecordedProcessId(TXWindow window) const {
    if (!FClientIds) {
        return 0;
    }
    XResClientIdSpec spec{window, XRES_CLIENT_ID_PID_MASK};
    long count = 0;
    XResClientIdValue* values = nullptr;
    if (XResQueryClientIds(FDisplay.get(), 1, &spec, &count, &values) != Success) {
        return 0;
    }
    long processId = 0;
    for (long i = 0; i < count && processId == 0; ++i) {
        if (XResGetClientIdType(&values[i]) == XRES_CLIENT_ID_PID) {
            processId = XResGetClientPid(&values[i]);
        }
    }
    XResClientIdsDestroy(count, values);
    return ValidProcessId(processId) ? processId : 0;
}

// _NET_WM_PID is a number on the client's machine: meaningless, and dangerous to act on, for a
// client of another machine.
long TX11Display::AnnouncedProcessId(TXWindow window) const {
    const std::string machine = Bytes(window, AtomFor(TXAtomName::WmClientMachine));
    if (machine.empty() || machine != HostName()) {
        return 0;
    }
    const std::vector<unsigned long> processIds = Longs(window, AtomFor(TXAtomName::NetWmPid));
    if (processIds.empty() || !ValidProcessId(static_cast<long>(processIds.front()))) {
        return 0;
    }
    return static_cast<long>(processIds.front());
}

// A window manager that has gone leaves its check window id behind; the window itself then
// no longer points to itself.
TXWindow TX11Display::WindowManagerCheck() const {
    const TXAtom check = AtomFor(TXAtomName::NetSupportingWmCheck);
    const std::vector<unsigned long> announced = Longs(FRoot, check);
    if (announced.empty() || announced.front() == 0) {
        return 0;
    }
    const std::vector<unsigned long> confirmed = Longs(announced.front(), check);
    return !confirmed.empty() && confirmed.front() == announced.front() ? announced.front() : 0;
}

}  // namespace plintor
