#include "app/ServiceReporter.h"

#include <algorithm>

#include "browser/RestrictedBrowser.h"
#include "core/app/KioskState.h"
#include "core/app/ServiceStatus.h"
#include "platform/ServiceNotifier.h"

namespace plintor {
namespace {

constexpr std::chrono::milliseconds StatusInterval(1000);
// However short an interval the environment names, the loop does not spin for it.
constexpr std::chrono::milliseconds ShortestSignOfLife(100);

}  // namespace

ServiceReporter::ServiceReporter(ServiceNotifier& notifier, const KioskState& state,
                                 RestrictedBrowser& browser)
    : m_notifier(notifier),
      m_state(state),
      m_browser(browser),
      m_statusRate(state.steady, StatusInterval),
      m_statusLater([this] {
          if (m_statusRate.takeCounted() > 0) {
              send({});
          }
      }),
      m_readyLimit([this] {
          m_status = "Home page not loaded within " + std::to_string(ReadyLimit.count()) + " s; " +
                     currentStatus();
          ready("STATUS=" + m_status);
      }),
      m_watchdog([this] { send("WATCHDOG=1"); }, true) {
    browser.onAddressChanged([this] { pageChanged(); });
    browser.onHomeLoaded([this] { ready(statusChange()); });
    m_readyLimit.start(std::chrono::milliseconds(ReadyLimit).count());
    // Half the interval, as the manager asks: one late tick of a busy loop is no reason to
    // restart the kiosk.
    if (const auto interval = m_notifier.watchdogInterval(); interval.count() > 0) {
        const auto half = std::chrono::duration_cast<std::chrono::milliseconds>(interval / 2);
        m_watchdog.start(std::max(half, ShortestSignOfLife).count());
    }
}

// The browser outlives this: its last events (the page closing) go to nobody.
ServiceReporter::~ServiceReporter() {
    m_browser.onAddressChanged(nullptr);
    m_browser.onHomeLoaded(nullptr);
}

void ServiceReporter::stopping() {
    m_readyLimit.stop();
    m_statusLater.stop();
    m_watchdog.stop();
    m_notifier.notify("STOPPING=1\nSTATUS=Stopping");
}

void ServiceReporter::ready(const std::string& status) {
    m_readyLimit.stop();
    if (m_ready) {
        return;
    }
    m_ready = true;
    m_notifier.notify(status.empty() ? "READY=1" : "READY=1\n" + status);
}

void ServiceReporter::pageChanged() {
    if (m_statusRate.admit()) {
        send({});
    } else if (!m_statusLater.isActive()) {
        m_statusLater.start(m_statusRate.untilReport().count());
    }
}

void ServiceReporter::send(const std::string& notification) {
    const std::string status = statusChange();
    const char* separator = !notification.empty() && !status.empty() ? "\n" : "";
    if (const std::string message = notification + separator + status; !message.empty()) {
        m_notifier.notify(message);
    }
}

std::string ServiceReporter::currentStatus() const {
    const long long idleSeconds = std::chrono::duration_cast<std::chrono::seconds>(
                                      m_state.steady.now() - m_state.input.lastRecorded())
                                      .count();
    return serviceStatusText(m_browser.pageAddress(), idleSeconds);
}

std::string ServiceReporter::statusChange() {
    std::string status = currentStatus();
    if (status == m_status) {
        return {};
    }
    m_status = status;
    return "STATUS=" + status;
}

}  // namespace plintor
