#include "app/SystemActions.h"

#include <utility>

#include "app/ScreenGuard.h"
#include "browser/EngineVersion.h"
#include "core/app/KioskState.h"
#include "platform/DesktopControl.h"
#include "platform/SystemInfo.h"

namespace plintor {

SystemActions::SystemActions(KioskState& state, PowerRequests& power, const SystemInfo& system,
                             ScreenGuard& screenGuard, std::function<void()> quit)
    : m_state(state),
      m_power(power),
      m_system(system),
      m_screenGuard(screenGuard),
      m_quit(std::move(quit)) {}

long long SystemActions::memoryKiB() const {
    return m_system.processTreeMemoryKiB();
}

void SystemActions::guardScreen() {
    m_screenGuard.guardScreen();
}

void SystemActions::restartComputer() {
    m_dailyRestartAsked = m_power.request(PowerRequest::Restart);
}

long long SystemActions::powerRequestWaitMs() const {
    return m_power.waitMs();
}

void SystemActions::powerAnswered(PowerRequest what, bool accepted) {
    const bool daily = std::exchange(m_dailyRestartAsked, false);
    if (daily && accepted && what == PowerRequest::Restart) {
        m_quit();
    }
}

void SystemActions::quitApplication() {
    m_quit();
}

bool SystemActions::closeForeignWindows() {
    DesktopControl* desktop = m_screenGuard.desktop();
    return desktop == nullptr || desktop->closeForeignWindows();
}

bool SystemActions::stopShell() {
    DesktopControl* desktop = m_screenGuard.desktop();
    return desktop != nullptr && desktop->stopShell();
}

bool SystemActions::engineReplaced() const {
    return m_system.libraryReplaced(EngineLibraryName);
}

void SystemActions::restartProgram() {
    m_state.restartRequested = true;
    m_quit();
}

}  // namespace plintor
