#include "platform/linux/x11/X11DisplayPower.h"

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>
#include <X11/extensions/scrnsaver.h>

#include <memory>

#include "platform/linux/x11/X11Connection.h"

namespace plintor {

X11DisplayPower::~X11DisplayPower() {
    if (m_displayKeptOn) {
        keepDisplayOn(false);
    }
}

// Asked once; from then on the extension's notify events tell.
bool X11DisplayPower::isScreensaverRunning() {
    const X11Display& x11 = m_watch.x11();
    if (!x11.hasScreenSaverExtension()) {
        return false;
    }
    m_watch.readEvents();
    std::optional<bool>& screensaverOn = m_watch.screensaverOn();
    if (!screensaverOn) {
        X11ErrorTrap trap(m_watch.dpy());
        const std::unique_ptr<XScreenSaverInfo, int (*)(void*)> info(XScreenSaverAllocInfo(),
                                                                     XFree);
        screensaverOn = info != nullptr &&
                        XScreenSaverQueryInfo(m_watch.dpy(), x11.root(), info.get()) &&
                        info->state == ScreenSaverOn;
    }
    return *screensaverOn;
}

bool X11DisplayPower::dpmsEnabled() const {
    CARD16 level = 0;
    BOOL enabled = False;
    return DPMSInfo(m_watch.dpy(), &level, &enabled) && enabled;
}

// The server counts a client's suspensions, so only a change is sent: one "off" must undo any
// number of "on". It ends the suspension with our connection, but DPMS stays as we leave it:
// it is switched back on when the display may sleep again, and when we go.
void X11DisplayPower::keepDisplayOn(bool on) {
    const X11Display& x11 = m_watch.x11();
    _XDisplay* dpy = m_watch.dpy();
    X11ErrorTrap trap(dpy);
    if (x11.hasScreenSaverExtension() && on != m_displayKeptOn) {
        XScreenSaverSuspend(dpy, on ? True : False);
    }
    if (on) {
        XResetScreenSaver(dpy);
    }
    if (x11.hasDpmsExtension()) {
        if (on) {
            m_dpmsWasEnabled = m_displayKeptOn ? m_dpmsWasEnabled : dpmsEnabled();
            DPMSDisable(dpy);
        } else if (m_displayKeptOn && m_dpmsWasEnabled) {
            DPMSEnable(dpy);
        }
    }
    m_displayKeptOn = on;
    m_watch.screensaverOn().reset();  // the reset ends a running saver; the next question asks
    XFlush(dpy);
    m_changes.powerSavingHeldOff(m_displayKeptOn && m_dpmsWasEnabled);
}

bool X11DisplayPower::switchPowerSavingOn() {
    if (!m_watch.x11().hasDpmsExtension()) {
        return false;
    }
    X11ErrorTrap trap(m_watch.dpy());
    DPMSEnable(m_watch.dpy());
    XFlush(m_watch.dpy());
    return true;
}

}  // namespace plintor
