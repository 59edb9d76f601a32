#pragma once

#include <functional>
#include <memory>

#include "glib/FdWatch.h"
#include "glib/Timeout.h"

namespace plintor {

class Desktop;
class Platform;

// The desktop lockdown's connections to the display, and the one owner of the desktop
// control: the input hooks (key claims and input activity) and the desktop control. When the
// display was not there when the kiosk started (it started before its X server was ready),
// both are tried again every few seconds until they hold, and the log says once when they do;
// nothing is polled once they hold.
class DesktopLockdown {
public:
    explicit DesktopLockdown(Platform& platform) : m_platform(platform) {}
    DesktopLockdown(const DesktopLockdown&) = delete;
    DesktopLockdown& operator=(const DesktopLockdown&) = delete;
    ~DesktopLockdown();

    // Connects the desktop once the display is open; null when the display has none.
    void connectDesktop();
    Desktop* desktop() const { return m_desktop.get(); }
    // Takes the input of the hooks when they hold, else starts trying again; `connected` is
    // told each time the desktop control comes (now, or when a retry connects it).
    void start(std::function<void(Desktop&)> connected);
    // The kiosk's window is gone: nothing is tried again from here on.
    void stop();

private:
    static constexpr int RetryIntervalMs = 2000;

    bool complete() const;
    void retry();
    void watchInput();

    Platform& m_platform;
    std::unique_ptr<Desktop> m_desktop;
    std::function<void(Desktop&)> m_connected;
    std::unique_ptr<FdWatch> m_input;
    Timeout m_timer{[this] { retry(); }, true};
};

}  // namespace plintor
