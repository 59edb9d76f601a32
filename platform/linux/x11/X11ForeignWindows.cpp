#include "platform/linux/x11/X11ForeignWindows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <csignal>
#include <string>

#include "platform/linux/x11/X11Connection.h"

namespace plintor {

// A window that was asked to close or whose program was ended is looked at again next time,
// changed or not: it may still be there.
bool X11ForeignWindows::closeForeignWindows() {
    m_watch.readEvents();
    if (m_closedCleanAt == m_watch.generation()) {
        return true;
    }
    const unsigned long generation = m_watch.generation();
    X11ErrorTrap trap(m_watch.dpy());
    const long windowManager = m_programs.windowManagerProcessId();
    bool acted = false;
    for (const TopLevelClient& client : topLevelClients()) {
        const ForeignWindow window = describe(client);
        switch (decideForeignWindow(window, m_programs.context())) {
            case ForeignWindowAction::Skip:
                break;
            case ForeignWindowAction::AskToClose:
                acted = askToClose(client.window) || acted;
                break;
            case ForeignWindowAction::EndProcess:
                if (m_programs.maySignal(window.processId, windowManager)) {
                    acted = ::kill(static_cast<pid_t>(window.processId), SIGKILL) == 0 || acted;
                }
                break;
        }
    }
    m_closedCleanAt = acted ? 0 : generation;
    return !acted;
}

// Without a window manager nobody sets WM_STATE, so a top-level window that is no pop-up
// counts as a client itself; with one, windows without a client are the manager's own.
std::vector<X11ForeignWindows::TopLevelClient> X11ForeignWindows::topLevelClients() const {
    const X11Display& x11 = m_watch.x11();
    const bool managed = x11.windowManagerCheck() != 0;
    std::vector<TopLevelClient> clients;
    for (const XWindow topLevel : x11.children(x11.root())) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(m_watch.dpy(), topLevel, &attributes)) {
            continue;
        }
        XWindow client = x11.clientWindowIn(topLevel);
        if (client == 0 && !managed && !attributes.override_redirect) {
            client = topLevel;
        }
        if (client != 0) {
            // An iconified window is still open, only out of sight, and one click away.
            const bool viewable = attributes.map_state == IsViewable || x11.isIconic(client);
            clients.push_back({client, viewable});
        }
    }
    return clients;
}

ForeignWindow X11ForeignWindows::describe(const TopLevelClient& client) const {
    const X11Display& x11 = m_watch.x11();
    ForeignWindow window;
    window.viewable = client.viewable;
    window.enabled = true;
    // WM_CLASS holds the instance name and the class name, each ending in a NUL.
    const std::string names = x11.bytes(client.window, XA_WM_CLASS);
    const std::size_t split = names.find('\0');
    if (split != std::string::npos) {
        window.className = names.substr(split + 1, names.find('\0', split + 1) - split - 1);
    }
    window.classKnown = !window.className.empty();
    window.desktopOrDock = m_programs.isDesktopOrDock(client.window);
    window.processId = x11.ownerProcessId(client.window);
    window.hasTitle = !x11.bytes(client.window, x11.atomFor(XAtomName::NetWmName)).empty() ||
                      !x11.bytes(client.window, XA_WM_NAME).empty();
    return window;
}

// The ICCCM way: a program that does not offer WM_DELETE_WINDOW cannot be asked.
bool X11ForeignWindows::askToClose(XWindow window) const {
    const XAtom protocols = m_watch.atomFor(XAtomName::WmProtocols);
    const XAtom deleteWindow = m_watch.atomFor(XAtomName::WmDeleteWindow);
    if (!m_watch.x11().longsContain(window, protocols, deleteWindow)) {
        return false;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(deleteWindow);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_watch.dpy(), window, False, NoEventMask, &event);
    return true;
}

}  // namespace plintor
