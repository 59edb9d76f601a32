#pragma once

#include <memory>
#include <optional>

#include "platform/DesktopEvents.h"
#include "platform/linux/x11/X11Display.h"

union _XEvent;

namespace plintor {

// The kiosk's own connection to the desktop's X server and what the server's events say on it,
// so that an unchanged desktop costs no round trip. Every change of the windows counts one
// generation up; a job that left nothing behind to do remembers the generation it looked at.
class X11DesktopWatch final : public DesktopEvents {
public:
    explicit X11DesktopWatch(std::unique_ptr<X11Display> display);

    X11Display& x11() const { return *m_x11; }
    _XDisplay* dpy() const { return m_x11->get(); }
    XAtom atomFor(XAtomName name) const { return m_x11->atomFor(name); }

    // Takes in the events that have arrived; neither asks the server.
    void readEvents();
    unsigned long generation() const { return m_generation; }
    // What the events said of the screensaver and the active window, while it still holds.
    std::optional<bool>& screensaverOn() { return m_screensaverOn; }
    std::optional<bool>& foreignInFront() { return m_foreignInFront; }

    int changeDescriptor() const override;
    bool takeChanges() override;
    bool changesQueued() const override;

private:
    void note(const _XEvent& event);

    std::unique_ptr<X11Display> m_x11;
    unsigned long m_generation = 1;
    bool m_guardShouldLook = false;
    std::optional<bool> m_screensaverOn;
    std::optional<bool> m_foreignInFront;
};

}  // namespace plintor
