#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <memory>

namespace plintor {

class IDesktopControl;
class IPlatform;

// The desktop lockdown's connections to the display: the input hooks (key claims and input
// activity) and the desktop control. When the display was not there when the kiosk started (it
// started before its X server was ready), both are tried again every few seconds until they
// hold, and the log says once when they do; nothing is polled once they hold.
class TLockdownRetry final : public QObject {
    Q_OBJECT
public:
    // `desktop` is the program's desktop control (null until connected); `connected` is told
    // each time the desktop control comes.
    TLockdownRetry(IPlatform& platform, std::unique_ptr<IDesktopControl>& desktop,
                   std::function<void(IDesktopControl&)> connected);

    // Takes the input of the hooks when they hold, else starts trying again.
    void Start();

private:
    static constexpr int RetryIntervalMs = 2000;

    bool Complete() const;
    void Retry();
    void WatchInput();

    IPlatform& FPlatform;
    std::unique_ptr<IDesktopControl>& FDesktop;
    std::function<void(IDesktopControl&)> FConnected;
    std::unique_ptr<QSocketNotifier> FInput;
    QTimer FTimer;
};

}  // namespace plintor
