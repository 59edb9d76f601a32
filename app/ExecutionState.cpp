#include "app/ExecutionState.h"

#include "core/config/Settings.h"
#include "platform/DesktopControl.h"
#include "platform/SessionManager.h"

namespace plintor {

TExecutionState::~TExecutionState() {
    if (FSession != nullptr) {
        FSession->ReleaseSleepInhibitor();
    }
    if (FDesktop != nullptr && FDisplayKeptOn) {
        FDesktop->KeepDisplayOn(false);
    }
}

void TExecutionState::Apply(std::uint32_t flags) {
    if (FSession != nullptr && (flags & ES_SYSTEM_REQUIRED) != 0) {
        FSession->InhibitSleep();
    }
    FDisplayWanted = (flags & ES_DISPLAY_REQUIRED) != 0;
    KeepDisplayOn();
}

void TExecutionState::UseDesktop(IDesktopControl& desktop) {
    FDesktop = &desktop;
    KeepDisplayOn();
}

void TExecutionState::KeepDisplayOn() {
    if (FDesktop != nullptr && FDisplayWanted && !FDisplayKeptOn) {
        FDesktop->KeepDisplayOn(true);
        FDisplayKeptOn = true;
    }
}

}  // namespace plintor
