#include <memory>

#include "platform/PowerActions.h"
#include "platform/win32/SessionEnd.h"
#include "platform/win32/WindowsServices.h"

namespace plintor {
namespace {

std::uint32_t forced(std::uint32_t flags, bool force) {
    return force ? flags | SessionForce : flags;
}

class ExitWindowsPowerActions final : public PowerActions {
public:
    bool shutDown(bool force) override { return endWindowsSession(forced(SessionShutDown, force)); }
    bool restart(bool force) override { return endWindowsSession(forced(SessionRestart, force)); }
    bool logOff(bool force) override { return endWindowsSession(forced(SessionLogOff, force)); }
};

}  // namespace

std::unique_ptr<PowerActions> createExitWindowsPowerActions() {
    return std::make_unique<ExitWindowsPowerActions>();
}

}  // namespace plintor
