#pragma once

#include <chrono>
#include <string>

#include "core/support/LogRateLimit.h"
#include "glib/Timeout.h"

namespace plintor {

struct KioskState;
class RestrictedBrowser;
class ServiceNotifier;

// What the service manager learns of the running kiosk: that it is ready, once the first home
// page has loaded or failed to; what it shows (the page's address and idle time) when that
// changes, at most once a second; a sign of life from the user-interface loop at half the
// watchdog's interval, so that a wedged loop gets the kiosk restarted; and its end. Nothing
// wakes the kiosk for it but the watchdog, whose signs of life also bring the idle time up to
// date.
class ServiceReporter {
public:
    // A home page that takes longer than this (a server that never answers, a blocked home
    // address) does not hold the start up until the manager gives up and restarts a kiosk whose
    // window works: it is ready then, and its status says so.
    static constexpr std::chrono::seconds ReadyLimit{45};

    ServiceReporter(ServiceNotifier& notifier, const KioskState& state, RestrictedBrowser& browser);
    ServiceReporter(const ServiceReporter&) = delete;
    ServiceReporter& operator=(const ServiceReporter&) = delete;
    ~ServiceReporter();

    // The kiosk ends for good (not when it starts afresh in its own place).
    void stopping();

private:
    // READY=1 with `status` (a STATUS= line, or none), once.
    void ready(const std::string& status);
    void pageChanged();
    // `notification` (none or one line) with the status when it changed; nothing when neither.
    void send(const std::string& notification);
    std::string currentStatus() const;
    // "STATUS=" and the status, when it differs from the one the manager has; else empty.
    std::string statusChange();

    ServiceNotifier& m_notifier;
    const KioskState& m_state;
    RestrictedBrowser& m_browser;
    bool m_ready = false;
    std::string m_status;  // the last status the manager was sent
    LogRateLimit m_statusRate;
    Timeout m_statusLater;
    Timeout m_readyLimit;
    Timeout m_watchdog;
};

}  // namespace plintor
