#include "app/SystemActions.h"

#include <algorithm>
#include <utility>

#include "app/ScreenGuard.h"
#include "core/app/KioskState.h"
#include "core/support/Log.h"
#include "platform/Desktop.h"
#include "platform/DesktopShell.h"
#include "platform/ForeignWindows.h"
#include "platform/SystemInfo.h"

namespace plintor {

SystemActions::SystemActions(KioskState& state, PowerRequests& power, const SystemInfo& system,
                             std::string engineLibrary, ScreenGuard& screenGuard,
                             std::function<void()> quit, std::function<void()> lookAgain)
    : m_state(state),
      m_power(power),
      m_system(system),
      m_engineLibrary(std::move(engineLibrary)),
      m_screenGuard(screenGuard),
      m_quit(std::move(quit)),
      m_shellRetry(std::move(lookAgain)) {}

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
    Desktop* desktop = m_screenGuard.desktop();
    return desktop == nullptr || desktop->foreignWindows().closeForeignWindows();
}

bool SystemActions::stopShell() {
    Desktop* desktop = m_screenGuard.desktop();
    if (desktop == nullptr || m_shellRetry.isActive()) {
        return false;
    }
    DesktopShell& shell = desktop->shell();
    const bool stopped = shell.stopShell();
    const std::string why = shell.shellStopWithheld();
    if (!why.empty()) {
        shellStopWithheld(why);
    } else if (!m_shellWithheldFor.empty()) {
        m_shellWithheldFor.clear();
        m_shellRetryMs = FirstShellRetryMs;
    }
    return stopped;
}

// Said once per reason, not on every try.
void SystemActions::shellStopWithheld(const std::string& why) {
    if (why != m_shellWithheldFor) {
        logEntry("Shell kept running: " + why + "; tried again in " +
                 std::to_string(m_shellRetryMs / 1000) + " s and later");
        m_shellWithheldFor = why;
    }
    m_shellRetry.start(m_shellRetryMs);
    m_shellRetryMs = std::min(m_shellRetryMs * 2, LongestShellRetryMs);
}

bool SystemActions::engineReplaced() const {
    return m_system.libraryReplaced(m_engineLibrary);
}

void SystemActions::restartProgram() {
    m_state.restartRequested = true;
    m_quit();
}

}  // namespace plintor
