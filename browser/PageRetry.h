#pragma once

#include <gio/gio.h>

#include <functional>
#include <string>

#include "core/browser/LoadFailure.h"
#include "core/support/LogRateLimit.h"
#include "glib/ScopedSignal.h"
#include "glib/Timeout.h"

namespace plintor {

struct KioskState;
class LoadErrorPanel;

// The kiosk's own page for a top-level page that could not be loaded, and the tries that bring
// the page back by themselves: every RetrySeconds while the kiosk's page shows, and at once
// when the network comes back. Only while it shows does a timer run or the network monitor
// get listened to. A try never cuts into a load under way. Each failure is logged once with
// its address and kind (a try that fails the same way only counts), at most one failure entry
// a second however fast a page fails, and the recovery with the number of tries.
class PageRetry {
public:
    // `retry` loads the given address again.
    PageRetry(const KioskState& state, LoadErrorPanel& panel,
              std::function<void(const std::string& address)> retry);
    PageRetry(const PageRetry&) = delete;
    PageRetry& operator=(const PageRetry&) = delete;
    ~PageRetry();

    // The top-level load of `url` failed; a try loads `retryAddress`.
    void failed(const std::string& url, const LoadFailure& failure,
                const std::string& retryAddress);
    void loadStarted();
    // A page was loaded: the kiosk's page goes.
    void pageLoaded(const std::string& url);
    // After every load, whatever its end: the tries go on while the kiosk's page shows.
    void loadEnded();
    // The kiosk goes elsewhere itself (home, a new session): its page goes without a recovery.
    void dismiss();
    bool isShown() const;

private:
    static void onNetworkChanged(GNetworkMonitor* monitor, gboolean available, gpointer self);
    void watchNetwork();
    void tryAgain();
    void networkChanged(bool available);
    void logFailure(const std::string& url);
    void reportCounted();

    const KioskState& m_state;
    LoadErrorPanel& m_panel;
    std::function<void(const std::string&)> m_retry;
    std::string m_failedUrl;
    LoadFailure m_failure;
    std::string m_retryAddress;
    int m_tries = 0;
    bool m_networkAvailable = true;
    Timeout m_retryTimer;
    ScopedSignal m_network;
    LogRateLimit m_logLimit;
    Timeout m_report;
};

}  // namespace plintor
