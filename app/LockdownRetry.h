#pragma once

#include <functional>
#include <memory>

#include "glib/FdWatch.h"
#include "glib/Timeout.h"

namespace plintor {

class DesktopControl;
class Platform;

// The desktop lockdown's connections to the display: the input hooks (key claims and input
// activity) and the desktop control. When the display was not there when the kiosk started (it
// started before its X server was ready), both are tried again every few seconds until they
// hold, and the log says once when they do; nothing is polled once they hold.
class LockdownRetry {
public:
    // `desktop` is the program's desktop control (null until connected); `connected` is told
    // each time the desktop control comes.
    LockdownRetry(Platform& platform, std::unique_ptr<DesktopControl>& desktop,
                  std::function<void(DesktopControl&)> connected);
    // Takes the input of the hooks when they hold, else starts trying again.
    void start();

private:
    static constexpr int RetryIntervalMs = 2000;

    bool complete() const;
    void retry();
    void watchInput();

    Platform& m_platform;
    std::unique_ptr<DesktopControl>& m_desktop;
    std::function<void(DesktopControl&)> m_connected;
    std::unique_ptr<FdWatch> m_input;
    Timeout m_timer;
};

}  // namespace plintor
