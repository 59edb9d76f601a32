#include "PowerActions.h"

namespace plintor {
namespace {

// No session manager is wired in yet: every request is refused.
class TUnavailablePowerActions final : public IPowerActions {
public:
    bool WindowsShutDown(bool) override { return false; }
    bool WindowsRestart(bool) override { return false; }
    bool WindowsLogOff(bool) override { return false; }
};

}  // namespace

IPowerActions& PowerActions() {
    static TUnavailablePowerActions actions;
    return actions;
}

}  // namespace plintor
