#include "browser/PageRetry.h"

#include "core/app/KioskState.h"
#include "core/browser/NavigationPolicy.h"
#include "core/browser/UrlHelpers.h"
#include "core/support/Log.h"
#include "widgets/LoadErrorPanel.h"

namespace plintor {
namespace {

constexpr std::chrono::milliseconds FailureEntryInterval(1000);

}  // namespace

PageRetry::PageRetry(const KioskState& state, LoadErrorPanel& panel,
                     std::function<void(const std::string& address)> retry)
    : m_state(state),
      m_panel(panel),
      m_retry(std::move(retry)),
      m_retryTimer([this] { tryAgain(); }),
      m_logLimit(state.steady, FailureEntryInterval),
      m_report([this] { reportCounted(); }) {}

PageRetry::~PageRetry() = default;

void PageRetry::failed(const std::string& url, const LoadFailure& failure,
                       const std::string& retryAddress) {
    const bool shown = isShown();
    m_retryAddress = retryAddress;
    if (!shown) {
        watchNetwork();
    }
    if (!shown || url != m_failedUrl || failure != m_failure) {
        m_failedUrl = url;
        m_failure = failure;
        m_tries = 0;
        logFailure(url);
        m_panel.show(m_state.settings.msgLoadError, addressForLog(url));
        m_panel.setOffline(!m_networkAvailable);
    }
    m_retryTimer.start(m_state.settings.retrySeconds * 1000LL);
}

void PageRetry::watchNetwork() {
    GNetworkMonitor* monitor = g_network_monitor_get_default();
    m_networkAvailable = g_network_monitor_get_network_available(monitor) != FALSE;
    m_network =
        ScopedSignal(monitor, "network-changed", G_CALLBACK(&PageRetry::onNetworkChanged), this);
}

void PageRetry::loadStarted() {
    m_retryTimer.stop();
}

// Another page the visitor went to takes the kiosk's page away too, but is no recovery.
void PageRetry::pageLoaded(const std::string& url) {
    if (isShown() && (url == m_failedUrl || url == m_retryAddress)) {
        logEntry(loadRecoveredLogText(url, m_tries));
    }
    dismiss();
}

void PageRetry::loadEnded() {
    if (isShown() && !m_retryTimer.isActive()) {
        m_retryTimer.start(m_state.settings.retrySeconds * 1000LL);
    }
}

void PageRetry::dismiss() {
    m_retryTimer.stop();
    m_network.disconnect();
    m_panel.hide();
    m_failedUrl.clear();
}

bool PageRetry::isShown() const {
    return m_panel.isShown();
}

void PageRetry::tryAgain() {
    ++m_tries;
    m_retry(m_retryAddress);
}

void PageRetry::onNetworkChanged(GNetworkMonitor*, gboolean available, gpointer self) {
    static_cast<PageRetry*>(self)->networkChanged(available != FALSE);
}

// The monitor reports every change of the routes; only a network that comes back is worth a
// try at once. A page on this machine loads without any network, so the tries go on without
// one too.
void PageRetry::networkChanged(bool available) {
    const bool cameBack = available && !m_networkAvailable;
    m_networkAvailable = available;
    m_panel.setOffline(!available);
    if (cameBack) {
        m_retryTimer.stop();
        tryAgain();
    }
}

void PageRetry::logFailure(const std::string& url) {
    if (m_logLimit.admit()) {
        logEntry(navigateErrorLogText(url));
        logEntry(loadErrorLogText(url, m_failure, m_state.settings.retrySeconds));
    } else if (!m_report.isActive()) {
        m_report.start(m_logLimit.untilReport().count());
    }
}

void PageRetry::reportCounted() {
    if (const int counted = m_logLimit.takeCounted(); counted > 0) {
        logEntry(loadErrorsCountedLogText(counted));
    }
}

}  // namespace plintor
