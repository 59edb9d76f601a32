#include <memory>

#include "platform/PowerActions.h"
#include "platform/SessionManager.h"
#include "platform/linux/LinuxServices.h"

namespace plintor {
namespace {

// The force flag has no logind counterpart: logind asks no program to agree, and the
// inhibitors it does weigh are its own decision.
class LogindPowerActions final : public PowerActions {
public:
    bool shutDown(bool) override { return forward(&SessionManager::powerOff); }
    bool restart(bool) override { return forward(&SessionManager::reboot); }
    bool logOff(bool) override { return forward(&SessionManager::terminateOwnSession); }

private:
    // A connection per request: these come at most once per run, and a fresh connection does
    // not depend on a bus that may have been restarted since the program started.
    static bool forward(bool (SessionManager::*request)()) {
        const std::unique_ptr<SessionManager> manager = connectLogindSessionManager();
        return manager != nullptr && (manager.get()->*request)();
    }
};

}  // namespace

std::unique_ptr<PowerActions> createLogindPowerActions() {
    return std::make_unique<LogindPowerActions>();
}

}  // namespace plintor
