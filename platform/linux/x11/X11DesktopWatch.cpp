#include "platform/linux/x11/X11DesktopWatch.h"

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

#include <utility>

#include "platform/linux/x11/X11Connection.h"

namespace plintor {

// Only our own connection's view: SubstructureNotify on the root is shared, unlike the window
// manager's redirect.
X11DesktopWatch::X11DesktopWatch(std::unique_ptr<X11Display> display) : m_x11(std::move(display)) {
    X11ErrorTrap trap(dpy());
    XSelectInput(dpy(), m_x11->root(), PropertyChangeMask | SubstructureNotifyMask);
    if (m_x11->hasScreenSaverExtension()) {
        XScreenSaverSelectInput(dpy(), m_x11->root(), ScreenSaverNotifyMask);
    }
}

// Events the other requests' replies brought along wait in Xlib's queue, the rest on the socket.
void X11DesktopWatch::readEvents() {
    while (XEventsQueued(dpy(), QueuedAfterReading) > 0) {
        XEvent event{};
        XNextEvent(dpy(), &event);
        note(event);
    }
}

void X11DesktopWatch::note(const XEvent& event) {
    if (m_x11->hasScreenSaverExtension() && event.type == m_x11->screenSaverNotifyType()) {
        m_screensaverOn =
            reinterpret_cast<const XScreenSaverNotifyEvent&>(event).state != ScreenSaverOff;
        m_guardShouldLook = true;
        return;
    }
    switch (event.type) {
        case PropertyNotify: {
            const XAtom property = event.xproperty.atom;
            if (property != atomFor(XAtomName::NetActiveWindow) &&
                property != atomFor(XAtomName::NetClientList) &&
                property != atomFor(XAtomName::NetSupportingWmCheck)) {
                return;
            }
            break;
        }
        case CreateNotify:
        case MapNotify:
        case UnmapNotify:
        case DestroyNotify:
        case ReparentNotify:
            break;
        default:
            return;
    }
    ++m_generation;
    m_foreignInFront.reset();
    m_guardShouldLook = true;
}

int X11DesktopWatch::changeDescriptor() const {
    return ConnectionNumber(dpy());
}

bool X11DesktopWatch::takeChanges() {
    readEvents();
    return std::exchange(m_guardShouldLook, false);
}

bool X11DesktopWatch::changesQueued() const {
    return XEventsQueued(dpy(), QueuedAlready) > 0;
}

}  // namespace plintor
