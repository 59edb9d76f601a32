#pragma once

#include "core/lockdown/DesktopChanges.h"
#include "platform/DisplayPower.h"
#include "platform/linux/x11/X11DesktopWatch.h"

namespace plintor {

// The screen saver and DPMS of the X server. Display power saving that the kiosk switched off
// is switched on again when the display may sleep again, and when the object goes.
class X11DisplayPower final : public DisplayPower {
public:
    X11DisplayPower(X11DesktopWatch& watch, DesktopChanges& changes)
        : m_watch(watch), m_changes(changes) {}
    X11DisplayPower(const X11DisplayPower&) = delete;
    X11DisplayPower& operator=(const X11DisplayPower&) = delete;
    ~X11DisplayPower() override;

    void keepDisplayOn(bool on) override;
    bool isScreensaverRunning() override;
    // False when the server has no DPMS.
    bool switchPowerSavingOn();

private:
    bool dpmsEnabled() const;

    X11DesktopWatch& m_watch;
    DesktopChanges& m_changes;
    bool m_displayKeptOn = false;
    bool m_dpmsWasEnabled = false;
};

}  // namespace plintor
