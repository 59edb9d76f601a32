#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/MessageRouter.h"
#include "core/app/KioskStatus.h"
#include "core/browser/UrlLists.h"
#include "core/config/ConfigFiles.h"

namespace plintor {

struct KioskState;
struct ReceivedMessage;
class InstanceChannel;
class ListedBrowser;
class SystemInfo;

// The operator's requests over the instance channel that concern the running kiosk as a whole
// rather than its window: the status report, answered to the asking program, and the reload
// of the allow and deny lists.
class OperatorRequests final : public AnsweredRequests {
public:
    // `started`: when the program started, for its uptime.
    OperatorRequests(const KioskState& state, ListedBrowser& browser, const SystemInfo& system,
                     ConfigNames names, std::chrono::steady_clock::time_point started);

    // Carries out a status or reload request and answers a status request through `channel`;
    // false for every other message, which is the window's.
    bool handle(const ReceivedMessage& received, InstanceChannel& channel) override;

    KioskStatus status() const;
    // Reads the lists again as the start does, off the user-interface thread, and uses them
    // from now on, for navigations and (with DenyAllRequests) for every request of a page; when
    // a file cannot be read, or the deny list in force would go, the lists in force stay. The
    // log says which happened. A request while one is read is carried out after it.
    void reloadLists();

private:
    using ListsRead = std::function<void(std::optional<UrlLists>)>;

    void answerStatus(const ReceivedMessage& request, InstanceChannel& channel) const;
    void startReading();
    void listsRead(std::optional<UrlLists> lists);

    const KioskState& m_state;
    ListedBrowser& m_browser;
    const SystemInfo& m_system;
    const ConfigNames m_names;
    const std::chrono::steady_clock::time_point m_started;
    bool m_reading = false;
    bool m_readAgain = false;
    // Goes with this object, so that lists read after it are dropped.
    std::shared_ptr<const ListsRead> m_listsRead;
};

}  // namespace plintor
