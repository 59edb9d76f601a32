#include "core/app/UnattendedOperation.h"

#include <algorithm>
#include <cmath>

#include "core/support/DateTime.h"
#include "core/support/Log.h"

namespace plintor {

void UnattendedOperation::guardTick() {
    restartWhenDue();
    m_host.updateTouchKeyboard();
    m_host.guardScreen();
}

void UnattendedOperation::housekeepingTick() {
    restartWhenDue();
    returnWhenIdle();
    lookAfterDesktop();
}

void UnattendedOperation::lookAfterDesktop() {
    const KioskSettings& settings = m_state.settings;
    m_desktopUnsettled = settings.autoCloseAll && !m_host.closeForeignWindows();
    if (settings.killExplorer && m_host.stopShell()) {
        m_log.entry("Kill explorer");
        m_desktopUnsettled = true;
    }
}

long long UnattendedOperation::millisecondsToNextHousekeeping(bool desktopReportsChanges) const {
    long long next = -1;
    const auto sooner = [&next](long long milliseconds) {
        if (milliseconds >= 0 && (next < 0 || milliseconds < next)) {
            next = milliseconds;
        }
    };
    const long long restart = millisecondsToRestart();
    // A refused restart is asked again by the guard tick; the housekeeping keeps its pace.
    sooner(restart == 0 ? HousekeepingTickIntervalMs : restart);
    sooner(millisecondsToIdleDuty());
    const KioskSettings& settings = m_state.settings;
    if ((settings.autoCloseAll || settings.killExplorer) &&
        (m_desktopUnsettled || !desktopReportsChanges)) {
        sooner(HousekeepingTickIntervalMs);
    }
    return next < 0 ? -1 : std::min<long long>(next, HousekeepingLongestSleepMs);
}

// The warning's moment first, then the return's; one millisecond after each, as with the
// restart.
long long UnattendedOperation::millisecondsToIdleDuty() const {
    const InputActivity& input = m_state.input;
    const long long idle = input.idleMilliseconds();
    const int minutes = m_state.settings.autoReturn;
    if (idle < 0 || minutes <= 0) {
        return -1;
    }
    const long long left = std::max(minutes * 60000LL - idle, 0LL);
    const long long toWarning = left - m_state.settings.returnWarning * 1000LL;
    return (toWarning > 0 && !input.returnWarningShowing() ? toWarning : left) + 1;
}

void UnattendedOperation::restartWhenDue() {
    if (m_state.settings.autoRestart != -1 && m_state.clock.now() > m_state.nextRestartTime &&
        m_host.restartComputer()) {
        m_host.quitApplication();
    }
}

// Due once the time has passed: one millisecond after it.
long long UnattendedOperation::millisecondsToRestart() const {
    if (m_state.settings.autoRestart == -1) {
        return -1;
    }
    const double left = (m_state.nextRestartTime - m_state.clock.now()) * MillisecondsPerDay;
    return left < 0 ? 0 : std::llround(left) + 1;
}

void UnattendedOperation::returnWhenIdle() {
    InputActivity& input = m_state.input;
    const long long idle = input.idleMilliseconds();
    const int minutes = m_state.settings.autoReturn;
    if (idle < 0 || minutes <= 0) {
        return;
    }
    const bool unchanged = !input.touched() && m_host.homePageUnchanged();
    if (input.idleMinutesReached(minutes)) {
        if (m_host.engineReplaced()) {
            input.disarm();
            m_host.hideReturnWarning();
            m_log.entry("Browser engine updated on disk: the kiosk starts afresh");
            m_host.restartProgram();
        } else if (unchanged) {
            // Reloading an untouched home page every idle period only costs the visitor who
            // comes next; the screensaver still comes back.
            input.disarm();
            showScreensaver();
        } else {
            returnToHomePage();
        }
        return;
    }
    const long long left = minutes * 60000LL - idle;
    if (!unchanged && left <= m_state.settings.returnWarning * 1000LL &&
        !input.returnWarningShowing()) {
        input.returnWarningShown([this] { m_host.hideReturnWarning(); });
        m_host.showReturnWarning(left);
    }
}

void UnattendedOperation::returnToHomePage() {
    m_state.input.disarm();
    m_host.hideReturnWarning();
    keepMemoryInBounds();
    if (m_state.settings.clearSessionOnReturn) {
        homePageInNewSession();
    } else {
        m_host.goHome();
    }
    if (m_host.keyboardShown()) {
        m_host.toggleKeyboard();
    }
    m_host.leaveWheelchairMode();
    m_log.entry("Return to home page");
    m_state.lastReturn = m_state.clock.now();
    showScreensaver();
}

// Measured at the return, with the last visitor's pages still open: what they grew is what a
// new page gives back. A new session gives it back anyway.
void UnattendedOperation::keepMemoryInBounds() {
    const int limitMb = m_state.settings.memoryLimitMb;
    if (limitMb <= 0) {
        return;
    }
    const long long usedKiB = m_host.memoryKiB();
    if (usedKiB <= limitMb * 1024LL) {
        return;
    }
    m_log.entry("Memory use " + std::to_string(usedKiB / 1024) + " MB is above MemoryLimitMB " +
                std::to_string(limitMb) + ": the page starts afresh");
    if (!m_state.settings.clearSessionOnReturn) {
        m_host.renewPage();
    }
}

void UnattendedOperation::homePageInNewSession() {
    m_host.clearSession();
    m_log.entry("Session cleared");
    m_host.goHome();
}

void UnattendedOperation::showScreensaver() {
    if (!m_state.settings.screensaver.empty()) {
        m_state.input.screensaverShown([this] { m_host.hideScreensaver(); });
        m_host.showScreensaver(m_state.settings.screensaver);
    }
}

}  // namespace plintor
