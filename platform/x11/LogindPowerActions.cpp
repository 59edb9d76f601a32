#include <memory>

#include "platform/PowerActions.h"
#include "platform/SessionManager.h"
#include "platform/x11/LinuxServices.h"

namespace plintor {
namespace {

// The force flag has no logind counterpart: logind asks no program to agree, and the
// inhibitors it does weigh are its own decision.
class TLogindPowerActions final : public IPowerActions {
public:
    bool WindowsShutDown(bool) override { return Forward(&ISessionManager::PowerOff); }
    bool WindowsRestart(bool) override { return Forward(&ISessionManager::Reboot); }
    bool WindowsLogOff(bool) override { return Forward(&ISessionManager::TerminateOwnSession); }

private:
    // A connection per request: these come at most once per run, and a fresh connection does
    // not depend on a bus that may have been restarted since the program started.
    static bool Forward(bool (ISessionManager::*request)()) {
        const std::unique_ptr<ISessionManager> manager = ConnectLogindSessionManager();
        return manager != nullptr && (manager.get()->*request)();
    }
};

}  // namespace

std::unique_ptr<IPowerActions> CreateLogindPowerActions() {
    return std::make_unique<TLogindPowerActions>();
}

}  // namespace plintor
