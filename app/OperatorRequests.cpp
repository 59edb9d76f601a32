#include "app/OperatorRequests.h"

#include <chrono>
#include <exception>
#include <utility>

#include "app/KioskProgram.h"
#include "core/app/KioskConfiguration.h"
#include "core/app/KioskState.h"
#include "core/browser/ListedBrowser.h"
#include "core/browser/UrlHelpers.h"
#include "core/support/Log.h"
#include "glib/BackgroundWork.h"
#include "platform/InstanceChannel.h"
#include "platform/SystemInfo.h"

namespace plintor {
namespace {

std::string listSizes(const UrlLists& lists) {
    return std::to_string(lists.whitelistSize()) + " allowed, " +
           std::to_string(lists.blacklistSize()) + " denied";
}

}  // namespace

OperatorRequests::OperatorRequests(const KioskState& state, ListedBrowser& browser,
                                   const SystemInfo& system, ConfigNames names,
                                   std::chrono::steady_clock::time_point started)
    : m_state(state),
      m_browser(browser),
      m_system(system),
      m_names(std::move(names)),
      m_started(started),
      m_listsRead(std::make_shared<const ListsRead>(
          [this](std::optional<UrlLists> lists) { listsRead(std::move(lists)); })) {}

bool OperatorRequests::handle(const ReceivedMessage& received, InstanceChannel& channel) {
    switch (received.message.kind) {
        case MessageKind::StatusRequest:
            answerStatus(received, channel);
            return true;
        case MessageKind::ReloadLists:
            reloadLists();
            return true;
        default:
            return false;
    }
}

KioskStatus OperatorRequests::status() const {
    KioskStatus status;
    status.version = m_state.programVersion;
    status.engine = engineVersionText();
    status.uptimeSeconds = std::chrono::duration_cast<std::chrono::seconds>(
                               std::chrono::steady_clock::now() - m_started)
                               .count();
    status.address = addressForLog(m_browser.pageAddress());
    status.idleSeconds = std::chrono::duration_cast<std::chrono::seconds>(
                             m_state.steady.now() - m_state.input.lastRecorded())
                             .count();
    status.rendererRestarts = static_cast<int>(m_state.counters.rendererRestarts());
    status.lastReturn = m_state.lastReturn;
    status.memoryKiB = m_system.processTreeMemoryKiB();
    status.allowEntries = m_browser.lists().whitelistSize();
    status.denyEntries = m_browser.lists().blacklistSize();
    return status;
}

void OperatorRequests::answerStatus(const ReceivedMessage& request,
                                    InstanceChannel& channel) const {
    std::string error;
    if (!channel.answer(request.sender, {MessageKind::StatusReply, 0, 0, kioskStatusJson(status())},
                        error)) {
        logEntry("Status not sent: " + error);
    }
}

void OperatorRequests::reloadLists() {
    if (m_state.safeWebBrowserMode) {
        logEntry("Lists not reloaded: -SafeWebBrowser reads no lists");
        return;
    }
    if (m_reading) {
        m_readAgain = true;
        return;
    }
    startReading();
}

// A list of hundreds of megabytes takes seconds to read: the visitor's page goes on meanwhile.
void OperatorRequests::startReading() {
    m_reading = true;
    runInBackground<std::optional<UrlLists>>(
        [names = m_names, buttons = m_state.buttons,
         tempFiles = m_state.tempFiles]() -> std::optional<UrlLists> {
            LogConfigReport report(programLog());
            try {
                return reloadKioskLists(names, buttons, tempFiles, report);
            } catch (const std::exception& error) {
                report.loadFailed(error);
                return std::nullopt;
            }
        },
        m_listsRead);
}

void OperatorRequests::listsRead(std::optional<UrlLists> lists) {
    m_reading = false;
    if (!lists) {
        logEntry("Lists not reloaded; the lists in force stay: " + listSizes(m_browser.lists()));
    } else if (dropsDenyList(m_browser.lists(), *lists)) {
        logEntry(
            "Lists not reloaded: the deny list is missing or empty; the lists in force stay: " +
            listSizes(m_browser.lists()));
    } else {
        m_browser.replaceLists(std::move(*lists));
        logEntry("Lists reloaded: " + listSizes(m_browser.lists()));
    }
    if (std::exchange(m_readAgain, false)) {
        startReading();
    }
}

}  // namespace plintor
