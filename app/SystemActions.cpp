#include "app/SystemActions.h"

#include "app/ScreenGuard.h"
#include "browser/EngineVersion.h"
#include "core/app/KioskState.h"
#include "platform/DesktopControl.h"
#include "platform/PowerActions.h"
#include "platform/SystemInfo.h"

namespace plintor {

SystemActions::SystemActions(KioskState& state, PowerActions& power, const SystemInfo& system,
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

bool SystemActions::restartComputer() {
    return m_power.restart(true);
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
