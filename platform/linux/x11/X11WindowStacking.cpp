#include "platform/linux/x11/X11WindowStacking.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/linux/x11/X11Connection.h"

namespace plintor {
namespace {

// How long bringWindowToFront waits for the window manager to make the window active.
constexpr auto ActivationWait = std::chrono::milliseconds(250);
constexpr auto ActivationPoll = std::chrono::milliseconds(10);
// The source indication of EWMH messages: a pager, which window managers obey without the
// focus stealing prevention meant for applications.
constexpr long PagerSource = 2;
constexpr long NetWmStateRemove = 0;
constexpr long NetWmStateAdd = 1;

}  // namespace

// Without a window manager there is no _NET_ACTIVE_WINDOW (or a stale one): the focus tells.
XWindow X11WindowStacking::activeWindow() const {
    const X11Display& x11 = m_watch.x11();
    if (x11.windowManagerCheck() != 0) {
        const std::vector<unsigned long> active =
            x11.longs(x11.root(), x11.atomFor(XAtomName::NetActiveWindow));
        return active.empty() ? 0 : active.front();
    }
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(m_watch.dpy(), &focus, &revertTo);
    return focus == PointerRoot ? 0 : focus;
}

// The focus may rest on a window inside the top-level window.
bool X11WindowStacking::isActive(XWindow window) const {
    const XWindow active = activeWindow();
    if (active == 0 || active == window) {
        return active != 0;
    }
    const XWindow topLevel = m_watch.x11().topLevelOf(window);
    return topLevel != 0 && m_watch.x11().topLevelOf(active) == topLevel;
}

bool X11WindowStacking::waitUntilActive(XWindow window) const {
    const auto deadline = std::chrono::steady_clock::now() + ActivationWait;
    while (!isActive(window)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(ActivationPoll);
    }
    return true;
}

void X11WindowStacking::sendToRoot(XWindow window, XAtom type,
                                   std::initializer_list<long> data) const {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    std::copy(data.begin(), data.end(), event.xclient.data.l);
    XSendEvent(m_watch.dpy(), m_watch.x11().root(), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

bool X11WindowStacking::bringWindowToFront(unsigned long window) {
    m_watch.foreignInFront().reset();
    X11ErrorTrap trap(m_watch.dpy());
    if (m_watch.x11().isIconic(window)) {
        XMapWindow(m_watch.dpy(), window);
    }
    if (isActive(window)) {
        return false;
    }
    sendToRoot(window, m_watch.atomFor(XAtomName::NetActiveWindow), {PagerSource, CurrentTime, 0});
    XRaiseWindow(m_watch.dpy(), m_watch.x11().topLevelOf(window));
    XSetInputFocus(m_watch.dpy(), window, RevertToParent, CurrentTime);
    XSync(m_watch.dpy(), False);
    return waitUntilActive(window);
}

// Kept while the window manager announces the active window: a change of it comes as an event.
// Without one the focus tells, and a change of the focus comes to nobody but the two windows.
bool X11WindowStacking::foreignWindowInFront() {
    m_watch.readEvents();
    if (m_watch.foreignInFront()) {
        return *m_watch.foreignInFront();
    }
    X11ErrorTrap trap(m_watch.dpy());
    const bool foreign = readActiveWindowIsForeign();
    if (m_watch.x11().windowManagerCheck() != 0) {
        m_watch.foreignInFront() = foreign;
    }
    return foreign;
}

// A window whose owner is unknown is not ours: ours are always known.
bool X11WindowStacking::readActiveWindowIsForeign() const {
    const XWindow active = activeWindow();
    return active != 0 && m_watch.x11().ownerProcessId(active) != m_ownProcessId;
}

// Sent again only when windows came or went since: a new one may have been put above.
void X11WindowStacking::setTopmost(unsigned long window, bool topmost) {
    m_watch.readEvents();
    if (m_topmost.window == window && m_topmost.on == topmost &&
        m_topmost.generation == m_watch.generation()) {
        return;
    }
    m_topmost = {window, topmost, m_watch.generation()};
    X11ErrorTrap trap(m_watch.dpy());
    sendToRoot(window, m_watch.atomFor(XAtomName::NetWmState),
               {topmost ? NetWmStateAdd : NetWmStateRemove,
                static_cast<long>(m_watch.atomFor(XAtomName::NetWmStateAbove)), 0, PagerSource});
    if (topmost) {
        XRaiseWindow(m_watch.dpy(), m_watch.x11().topLevelOf(window));
    }
    XFlush(m_watch.dpy());
}

// The frame moves, not the window: inside its frame the window has nothing to pass.
void X11WindowStacking::raiseWindow(unsigned long window) {
    m_topmost = {};
    X11ErrorTrap trap(m_watch.dpy());
    XRaiseWindow(m_watch.dpy(), m_watch.x11().topLevelOf(window));
    XFlush(m_watch.dpy());
}

void X11WindowStacking::lowerWindow(unsigned long window) {
    m_topmost = {};
    X11ErrorTrap trap(m_watch.dpy());
    XLowerWindow(m_watch.dpy(), m_watch.x11().topLevelOf(window));
    XFlush(m_watch.dpy());
}

}  // namespace plintor
