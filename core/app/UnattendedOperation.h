#pragma once

#include <optional>
#include <string>

#include "core/app/KioskState.h"
#include "core/support/Log.h"

namespace plintor {

// What the unattended operation asks of the visitor's page.
class VisitorPage {
public:
    virtual ~VisitorPage() = default;
    virtual void goHome() = 0;
    // Whether the page is still the home page as the last return (or the start) left it.
    virtual bool homePageUnchanged() const = 0;
    // Ends the visitor's session: everything the browser kept of it, and the shown documents.
    virtual void clearSession() = 0;
    // A new page and renderer in the same session.
    virtual void renewPage() = 0;
    // Puts the page zoom back to 100 %.
    virtual void resetZoom() = 0;
};

// What it asks of the kiosk's own surfaces around the page.
class KioskSurfaces {
public:
    virtual ~KioskSurfaces() = default;
    // Covers the page centre with the notice that the return comes in `millisecondsLeft`, with
    // a live countdown; and takes it away.
    virtual void showReturnWarning(long long millisecondsLeft) = 0;
    // The same notice, saying that the visitor's time at the terminal ends; hidden as above.
    virtual void showVisitEndWarning(long long millisecondsLeft) = 0;
    virtual void hideReturnWarning() = 0;
    virtual bool keyboardShown() const = 0;
    virtual void toggleKeyboard() = 0;
    virtual void leaveWheelchairMode() = 0;
    // Covers the window with the screensaver browser showing `address`, and uncovers it.
    virtual void showScreensaver(const std::string& address) = 0;
    virtual void hideScreensaver() = 0;
    virtual void updateTouchKeyboard() = 0;
};

// What it asks of the machine and the program around the kiosk.
class KioskSystem {
public:
    virtual ~KioskSystem() = default;
    // The memory the kiosk's processes use together (proportional set size); -1 when unknown.
    virtual long long memoryKiB() const = 0;
    // Keeps the window topmost and in front unless the system's screensaver runs.
    virtual void guardScreen() = 0;
    // Asks for the machine's restart and answers later: when the system accepts, the program
    // ends; when not, the next request waits (see powerRequestWaitMs).
    virtual void restartComputer() = 0;
    // Milliseconds until the system may be asked for a power action: 0 now, -1 while a request
    // is unanswered; more while the wait after a refusal runs.
    virtual long long powerRequestWaitMs() const = 0;
    virtual void quitApplication() = 0;
    // True when nothing was asked to go, false when a window may still be there.
    virtual bool closeForeignWindows() = 0;
    virtual bool stopShell() = 0;  // true when a shell was found and asked to end
    // Whether the browser engine the program runs on was replaced on disk (an update).
    virtual bool engineReplaced() const = 0;
    // Ends the program and starts it afresh, on the engine now on disk.
    virtual void restartProgram() = 0;
};

// The two timers that keep a terminal in shape without anyone watching it.
class UnattendedOperation {
public:
    static constexpr int GuardTickIntervalMs = 500;
    static constexpr int HousekeepingTickIntervalMs = 5000;
    // The longest the housekeeping sleeps while something is due: a clock set forward or back
    // is noticed within it.
    static constexpr int HousekeepingLongestSleepMs = 60000;

    // `log` takes "Return to home page", "Session cleared" and "Kill explorer".
    UnattendedOperation(KioskState& state, VisitorPage& page, KioskSurfaces& surfaces,
                        KioskSystem& system, const LogWriter& log = programLog())
        : m_state(state), m_page(page), m_surfaces(surfaces), m_system(system), m_log(log) {}

    // Every half second while something needs watching (the touch keyboard is shown, or the
    // desktop reports no changes of its own): the daily restart, the touch keyboard, the screen
    // guard.
    void guardTick();
    // When something is due (see millisecondsToNextHousekeeping): the daily restart (asked
    // again, later each time, while the system refuses), the return to the home page (see
    // returnWhenDue), then the desktop.
    void housekeepingTick();
    // The foreign windows and the shell, as configured; also when the desktop reports a change.
    void lookAfterDesktop();
    // Milliseconds until the housekeeping tick has work: the daily restart, the return warnings,
    // the idle return, the end of the visitor's time, and every five seconds the desktop while a
    // window or the shell was asked to go (or always, when the desktop reports no changes of its
    // own). -1: nothing until the next input or desktop change.
    long long millisecondsToNextHousekeeping(bool desktopReportsChanges) const;
    // The daily restart when its time has passed with the clock in step (a jump of the clock
    // moves it, logged) and the system may be asked.
    void restartWhenDue();
    // Milliseconds until the daily restart is to be asked for (0: now); -1 when it is off, or
    // while the system has not answered.
    long long millisecondsToRestart() const;
    // The return to the home page when the visitor's time is up, else the idle return.
    void returnWhenDue();
    // The end of a visit that lasted SessionMinutes of continuous use: the notice once, then the
    // same return as the idle one, however busy the visitor is. True when it returned.
    bool endVisitWhenTimeIsUp();
    // The idle return alone: the warning before it, the return when the idle time is reached.
    // The return is left out when the visitor changed nothing since the last one. A browser
    // engine updated on disk is put in force then, when nobody is at the terminal: the program
    // starts afresh instead.
    void returnWhenIdle();
    // Ends the visitor's session and opens the home page in a new one.
    void homePageInNewSession();

private:
    void returnToHomePage();
    void keepMemoryInBounds();
    void showScreensaver();
    long long millisecondsToIdleDuty() const;
    long long millisecondsToVisitDuty() const;
    bool visitEndWarned() const;

    KioskState& m_state;
    VisitorPage& m_page;
    KioskSurfaces& m_surfaces;
    KioskSystem& m_system;
    const LogWriter& m_log;
    bool m_desktopUnsettled = false;  // a window or the shell was asked to go: look again
    // The visit (by its start) whose end the notice has announced: once per visit.
    std::optional<InputActivity::TimePoint> m_visitEndWarnedFor;
};

}  // namespace plintor
