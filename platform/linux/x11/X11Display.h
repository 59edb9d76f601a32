#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/x11/X11Connection.h"

namespace plintor {

// Xlib's Window and Atom are both resource ids of this type.
using XWindow = unsigned long;
using XAtom = unsigned long;

enum class XAtomName {
    WmState,
    WmProtocols,
    WmDeleteWindow,
    WmClientMachine,
    NetWmName,
    NetWmPid,
    NetWmWindowType,
    NetWmWindowTypeDesktop,
    NetWmWindowTypeDock,
    NetWmState,
    NetWmStateAbove,
    NetActiveWindow,
    NetClientList,
    NetSupportingWmCheck,
    Count
};

// One connection of our own to the X server, with the atoms and extensions the desktop control
// uses. Every reader answers "nothing" for a window that is gone, provided the call runs inside
// an X11ErrorTrap.
class X11Display {
public:
    // Null when the display named by DISPLAY cannot be opened.
    static std::unique_ptr<X11Display> open();
    X11Display(const X11Display&) = delete;
    X11Display& operator=(const X11Display&) = delete;

    _XDisplay* get() const { return m_display.get(); }
    XWindow root() const { return m_root; }
    XAtom atomFor(XAtomName name) const { return m_atoms[static_cast<std::size_t>(name)]; }
    bool hasScreenSaverExtension() const { return m_screenSaver; }
    // The type of the screen saver extension's notify event (valid with the extension).
    int screenSaverNotifyType() const { return m_screenSaverEventBase; }
    bool hasDpmsExtension() const { return m_dpms; }

    // The values of a 32-bit property (atoms, windows, cardinals); empty when it is missing.
    std::vector<unsigned long> longs(XWindow window, XAtom property) const;
    // The bytes of an 8-bit property (strings); empty when it is missing.
    std::string bytes(XWindow window, XAtom property) const;
    bool hasProperty(XWindow window, XAtom property) const;
    bool longsContain(XWindow window, XAtom property, unsigned long value) const;
    // True when the window manager has iconified the window (its WM_STATE says so).
    bool isIconic(XWindow window) const;

    // Bottom-most first, as the server stacks them.
    std::vector<XWindow> children(XWindow window) const;
    // 0 for the root window and for a window that is gone.
    XWindow parent(XWindow window) const;
    // The ancestor that is a child of the root: a reparenting window manager's frame, or the
    // window itself.
    XWindow topLevelOf(XWindow window) const;
    // The window inside a top-level window that a window manager manages (it carries WM_STATE):
    // the top-level window itself, or the first such window inside a window manager's frame;
    // 0 when there is none.
    XWindow clientWindowIn(XWindow topLevel) const;

    // The process that created the window (0 when unknown): the server's own record of the
    // client when it has one, else _NET_WM_PID, which is only trusted for clients on this
    // machine.
    long ownerProcessId(XWindow window) const;

    // The window manager's check window when a window manager runs, else 0.
    XWindow windowManagerCheck() const;

private:
    explicit X11Display(DisplayHandle display);
    long serverRecordedProcessId(XWindow window) const;
    long announcedProcessId(XWindow window) const;

    DisplayHandle m_display;
    XWindow m_root = 0;
    std::array<XAtom, static_cast<std::size_t>(XAtomName::Count)> m_atoms{};
    bool m_clientIds = false;
    bool m_screenSaver = false;
    int m_screenSaverEventBase = 0;
    bool m_dpms = false;
};

}  // namespace plintor
