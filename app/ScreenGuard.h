#pragma once

#include <functional>
#include <memory>

#include "glib/FdWatch.h"
#include "glib/PrepareWatch.h"
#include "glib/Timeout.h"

namespace plintor {

class Desktop;
class GuardedWindow;

// Keeps the kiosk's window topmost and in front (unless the system's screensaver runs), on
// every change the desktop reports: a window that appears, one that takes the front. Its own
// answers change the desktop as well (the window becomes the active one), so what came in
// during a pass is looked at after it, and passes that keep changing the desktop (a window
// manager that fights over the front) are spaced out.
class ScreenGuard {
public:
    // `desktopChanged` is told after each pass that the desktop reported a change.
    ScreenGuard(GuardedWindow& window, std::function<void()> desktopChanged);
    ScreenGuard(const ScreenGuard&) = delete;
    ScreenGuard& operator=(const ScreenGuard&) = delete;
    ~ScreenGuard();

    // The desktop, when there is one (it may come late, see the lockdown's retry).
    void setDesktop(Desktop* desktop);
    Desktop* desktop() const { return m_desktop; }
    // Whether the desktop reports its changes itself; else it has to be asked on a tick.
    bool desktopReportsChanges() const { return m_changes != nullptr; }
    void guardScreen();
    // Stops looking at the desktop for good (the kiosk ends).
    void stop();

private:
    void lookAtDesktopChanges();

    GuardedWindow& m_window;
    std::function<void()> m_desktopChanged;
    Desktop* m_desktop = nullptr;
    std::unique_ptr<FdWatch> m_changes;
    std::unique_ptr<PrepareWatch> m_queuedChanges;
    Timeout m_nextPass;
    int m_passesInARow = 0;
    bool m_stopped = false;
};

}  // namespace plintor
