#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/x11/X11Connection.h"

namespace plintor {

// Xlib's Window and Atom are both resource ids of this type.
using TXWindow = unsigned long;
using TXAtom = unsigned long;

enum class TXAtomName {
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
    NetSupportingWmCheck,
    Count
};

// One connection of our own to the X server, with the atoms and extensions the desktop control
// uses. Every reader answers "nothing" for a window that is gone, provided the call runs inside
// a TX11ErrorTrap.
class TX11Display {
public:
    // Null when the display named by DISPLAY cannot be opened.
    static std::unique_ptr<TX11Display> Open();
    TX11Display(const TX11Display&) = delete;
    TX11Display& operator=(const TX11Display&) = delete;

    _XDisplay* Get() const { return FDisplay.get(); }
    TXWindow Root() const { return FRoot; }
    TXAtom AtomFor(TXAtomName name) const { return FAtoms[static_cast<std::size_t>(name)]; }
    bool HasScreenSaverExtension() const { return FScreenSaver; }
    bool HasDpmsExtension() const { return FDpms; }

    // The values of a 32-bit property (atoms, windows, cardinals); empty when it is missing.
    std::vector<unsigned long> Longs(TXWindow window, TXAtom property) const;
    // The bytes of an 8-bit property (strings); empty when it is missing.
    std::string Bytes(TXWindow window, TXAtom property) const;
    bool HasProperty(TXWindow window, TXAtom property) const;
    bool LongsContain(TXWindow window, TXAtom property, unsigned long value) const;

    // Bottom-most first, as the server stacks them.
    std::vector<TXWindow> Children(TXWindow window) const;
    // 0 for the root window and for a window that is gone.
    TXWindow Parent(TXWindow window) const;
    // The ancestor that is a child of the root: a reparenting window manager's frame, or the
    // window itself.
    TXWindow TopLevelOf(TXWindow window) const;
    // The window inside a top-level window that a window manager manages (it carries WM_STATE):
    // the top-level window itself, or the first such window inside a window manager's frame;
    // 0 when there is none.
    TXWindow ClientWindowIn(TXWindow topLevel) const;

    // The process that created the window (0 when unknown): the server's own record of the
    // client when it has one, else _NET_WM_PID, which is only trusted for clients on this
    // machine.
    long OwnerProcessId(TXWindow window) const;

    // The window manager's check window when a window manager runs, else 0.
    TXWindow WindowManagerCheck() const;

private:
    explicit TX11Display(TDisplayHandle display);
    long ServerRecordedProcessId(TXWindow window) const;
    long AnnouncedProcessId(TXWindow window) const;

    TDisplayHandle FDisplay;
    TXWindow FRoot = 0;
    std::array<TXAtom, static_cast<std::size_t>(TXAtomName::Count)> FAtoms{};
    bool FClientIds = false;
    bool FScreenSaver = false;
    bool FDpms = false;
};

}  // namespace plintor
