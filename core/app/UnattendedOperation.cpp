#include "core/app/UnattendedOperation.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "core/support/LocalTime.h"
#include "core/support/Log.h"

namespace plintor {

void UnattendedOperation::guardTick() {
    restartWhenDue();
    m_surfaces.updateTouchKeyboard();
    m_system.guardScreen();
}

void UnattendedOperation::housekeepingTick() {
    restartWhenDue();
    returnWhenDue();
    lookAfterDesktop();
}

void UnattendedOperation::lookAfterDesktop() {
    const KioskSettings& settings = m_state.settings;
    m_desktopUnsettled = settings.autoCloseAll && !m_system.closeForeignWindows();
    if (settings.killExplorer && m_system.stopShell()) {
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
    sooner(millisecondsToRestart());
    sooner(millisecondsToIdleDuty());
    sooner(millisecondsToVisitDuty());
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

// As the idle duty: the notice's moment, then the end's.
long long UnattendedOperation::millisecondsToVisitDuty() const {
    const long long visit = m_state.input.visitMilliseconds();
    const int minutes = m_state.settings.sessionMinutes;
    if (visit < 0 || minutes <= 0) {
        return -1;
    }
    const long long left = std::max(minutes * 60000LL - visit, 0LL);
    const long long toWarning = left - m_state.settings.returnWarning * 1000LL;
    return (toWarning > 0 && !visitEndWarned() ? toWarning : left) + 1;
}

bool UnattendedOperation::visitEndWarned() const {
    const auto start = m_state.input.visitStart();
    return start && start == m_visitEndWarnedFor;
}

void UnattendedOperation::restartWhenDue() {
    DailyRestart& restart = m_state.dailyRestart;
    if (const long long jumpMs = restart.followClock(); jumpMs != 0) {
        m_log.entry("Clock moved " + std::string(jumpMs > 0 ? "forward " : "back ") +
                    std::to_string(std::llabs(jumpMs) / 1000) + " s: next restart " +
                    isoDateTimeText(restart.next()));
    }
    if (restart.millisecondsToDue() == 0 && m_system.powerRequestWaitMs() == 0) {
        m_system.restartComputer();
    }
}

long long UnattendedOperation::millisecondsToRestart() const {
    const long long due = m_state.dailyRestart.millisecondsToDue();
    return due == 0 ? m_system.powerRequestWaitMs() : due;
}

void UnattendedOperation::returnWhenDue() {
    if (!endVisitWhenTimeIsUp()) {
        returnWhenIdle();
    }
}

bool UnattendedOperation::endVisitWhenTimeIsUp() {
    InputActivity& input = m_state.input;
    const long long visit = input.visitMilliseconds();
    const int minutes = m_state.settings.sessionMinutes;
    if (visit < 0 || minutes <= 0) {
        return false;
    }
    const long long left = minutes * 60000LL - visit;
    if (left <= 0) {
        m_log.entry("Session time limit of " + std::to_string(minutes) + " min reached");
        returnToHomePage();
        return true;
    }
    if (left <= m_state.settings.returnWarning * 1000LL && !visitEndWarned()) {
        // Input does not take this notice away: the visitor's time ends however busy they are.
        input.returnWarningShown(nullptr);
        m_visitEndWarnedFor = input.visitStart();
        m_surfaces.showVisitEndWarning(left);
    }
    return false;
}

void UnattendedOperation::returnWhenIdle() {
    InputActivity& input = m_state.input;
    const long long idle = input.idleMilliseconds();
    const int minutes = m_state.settings.autoReturn;
    if (idle < 0 || minutes <= 0) {
        return;
    }
    const bool unchanged = !input.touched() && m_page.homePageUnchanged();
    if (input.idleMinutesReached(minutes)) {
        if (m_system.engineReplaced()) {
            input.disarm();
            m_surfaces.hideReturnWarning();
            m_log.entry("Browser engine updated on disk: the kiosk starts afresh");
            m_system.restartProgram();
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
        !input.returnWarningShowing() && !visitEndWarned()) {
        input.returnWarningShown([this] { m_surfaces.hideReturnWarning(); });
        m_surfaces.showReturnWarning(left);
    }
}

void UnattendedOperation::returnToHomePage() {
    m_state.input.disarm();
    m_surfaces.hideReturnWarning();
    keepMemoryInBounds();
    if (m_state.settings.clearSessionOnReturn) {
        homePageInNewSession();
    } else {
        m_page.resetZoom();
        m_page.goHome();
    }
    if (m_surfaces.keyboardShown()) {
        m_surfaces.toggleKeyboard();
    }
    m_surfaces.leaveWheelchairMode();
    m_log.entry("Return to home page");
    m_state.lastReturn = m_state.clock.now();
    m_state.counters.homeReturned();
    showScreensaver();
}

// Measured at the return, with the last visitor's pages still open: what they grew is what a
// new page gives back. A new session gives it back anyway.
void UnattendedOperation::keepMemoryInBounds() {
    const int limitMb = m_state.settings.memoryLimitMb;
    if (limitMb <= 0) {
        return;
    }
    const long long usedKiB = m_system.memoryKiB();
    if (usedKiB <= limitMb * 1024LL) {
        return;
    }
    m_log.entry("Memory use " + std::to_string(usedKiB / 1024) + " MB is above MemoryLimitMB " +
                std::to_string(limitMb) + ": the page starts afresh");
    if (!m_state.settings.clearSessionOnReturn) {
        m_page.renewPage();
    }
}

void UnattendedOperation::homePageInNewSession() {
    m_page.clearSession();
    m_log.entry("Session cleared");
    m_page.resetZoom();
    m_page.goHome();
}

void UnattendedOperation::showScreensaver() {
    if (!m_state.settings.screensaver.empty()) {
        m_state.input.screensaverShown([this] { m_surfaces.hideScreensaver(); });
        m_surfaces.showScreensaver(m_state.settings.screensaver);
    }
}

}  // namespace plintor
