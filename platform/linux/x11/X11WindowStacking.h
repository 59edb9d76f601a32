#pragma once

#include <initializer_list>

#include "platform/WindowStacking.h"
#include "platform/linux/x11/X11DesktopWatch.h"

namespace plintor {

class X11WindowStacking final : public WindowStacking {
public:
    // `ownProcessId`: the kiosk's; every other program's window is foreign.
    X11WindowStacking(X11DesktopWatch& watch, long ownProcessId)
        : m_watch(watch), m_ownProcessId(ownProcessId) {}

    bool bringWindowToFront(unsigned long window) override;
    bool foreignWindowInFront() override;
    void setTopmost(unsigned long window, bool topmost) override;
    void raiseWindow(unsigned long window) override;
    void lowerWindow(unsigned long window) override;

private:
    bool readActiveWindowIsForeign() const;
    XWindow activeWindow() const;
    bool isActive(XWindow window) const;
    bool waitUntilActive(XWindow window) const;
    void sendToRoot(XWindow window, XAtom type, std::initializer_list<long> data) const;

    X11DesktopWatch& m_watch;
    const long m_ownProcessId;
    // What was last asked, and at which generation of the windows.
    struct Topmost {
        XWindow window = 0;
        bool on = false;
        unsigned long generation = 0;
    } m_topmost;
};

}  // namespace plintor
