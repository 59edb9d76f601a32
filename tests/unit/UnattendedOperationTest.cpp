#include "core/app/UnattendedOperation.h"

#include <gtest/gtest.h>

#include "core/config/KioskSettings.h"
#include "core/support/Log.h"
#include "tests/support/FakeClock.h"
#include "tests/support/LocalDates.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using namespace std::chrono_literals;
using test::readBytes;

const LocalTime Today = test::date(2026, 12, 10);
const LocalTime Tomorrow = test::date(2026, 12, 11);

class RecordingHost final : public VisitorPage, public KioskSurfaces, public KioskSystem {
public:
    std::vector<std::string> calls;
    bool keyboardVisible = true;
    bool restartAccepted = false;
    long long powerWait = 0;  // what the system says of the next power request
    bool shellFound = true;
    bool windowsGone = true;     // the foreign windows pass asked nothing to go
    bool homeUnchanged = false;  // the visitor went elsewhere unless a test says otherwise
    bool engineUpdated = false;

    void goHome() override { calls.push_back("GoHome"); }
    bool homePageUnchanged() const override { return homeUnchanged; }
    void clearSession() override { calls.push_back("ClearSession"); }
    void showReturnWarning(long long millisecondsLeft) override {
        calls.push_back("ShowReturnWarning " + std::to_string(millisecondsLeft));
    }
    void showVisitEndWarning(long long millisecondsLeft) override {
        calls.push_back("ShowVisitEndWarning " + std::to_string(millisecondsLeft));
    }
    void hideReturnWarning() override { calls.push_back("HideReturnWarning"); }
    long long memory = -1;
    long long memoryKiB() const override { return memory; }
    void renewPage() override { calls.push_back("RenewPage"); }
    void resetZoom() override { calls.push_back("ResetZoom"); }
    bool keyboardShown() const override { return keyboardVisible; }
    void toggleKeyboard() override {
        keyboardVisible = !keyboardVisible;
        calls.push_back("ToggleKeyboard");
    }
    void leaveWheelchairMode() override { calls.push_back("LeaveWheelchairMode"); }
    void showScreensaver(const std::string& address) override {
        calls.push_back("ShowScreensaver " + address);
    }
    void hideScreensaver() override { calls.push_back("HideScreensaver"); }
    void updateTouchKeyboard() override {}
    void guardScreen() override {}
    void restartComputer() override {
        calls.push_back("RestartComputer");
        if (restartAccepted) {
            calls.push_back("QuitApplication");
        }
    }
    long long powerRequestWaitMs() const override { return powerWait; }
    void quitApplication() override { calls.push_back("QuitApplication"); }
    bool engineReplaced() const override { return engineUpdated; }
    void restartProgram() override { calls.push_back("RestartProgram"); }
    bool closeForeignWindows() override {
        calls.push_back("CloseForeignWindows");
        return windowsGone;
    }
    bool stopShell() override {
        calls.push_back("StopShell");
        return shellFound;
    }

    int count(const std::string& call) const {
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }
};

class UnattendedOperationTest : public ::testing::Test {
protected:
    UnattendedOperationTest() { m_settings.killExplorer = false; }

    // Ticks housekeeping every five seconds for `seconds`.
    void runHousekeepingFor(int seconds) {
        for (int elapsed = 0; elapsed < seconds; elapsed += 5) {
            passTo(m_clock.now() + 5s);
            m_operation.housekeepingTick();
        }
    }

    // Time passes until `at`: the wall clock and the monotonic clock keep step.
    void passTo(LocalTime at) {
        m_steady.advance(at - m_clock.now());
        m_clock.set(at);
    }

    int logCount(const std::string& text) const {
        const std::string log = readBytes(m_dir.path("plintor.log"));
        int count = 0;
        for (std::size_t at = log.find(text); at != std::string::npos;
             at = log.find(text, at + 1)) {
            ++count;
        }
        return count;
    }

    test::TempDir m_dir;
    const LocalTime m_start = Today + 4h;
    test::FakeClock m_clock{m_start};
    test::FakeMonotonicClock m_steady;
    KioskState m_state{m_clock, m_steady};
    KioskSettings& m_settings = m_state.settings;
    RecordingHost m_host;
    const LogWriter m_log{m_dir.path("plintor.log"), m_clock};
    UnattendedOperation m_operation{m_state, m_host, m_host, m_host, m_log};
};

TEST_F(UnattendedOperationTest, ReturnsHomeOnceAfterTheIdleTime) {
    m_settings.returnWarning = 0;
    runHousekeepingFor(9 * 60 + 55);
    EXPECT_EQ(m_host.count("GoHome"), 0);
    EXPECT_EQ(m_state.lastReturn, std::nullopt);
    runHousekeepingFor(10);
    EXPECT_EQ(m_host.calls,
              (std::vector<std::string>{"HideReturnWarning", "ClearSession", "ResetZoom", "GoHome",
                                        "ToggleKeyboard", "LeaveWheelchairMode"}));
    EXPECT_EQ(logCount("\r\nSession cleared\r\n"), 1);
    EXPECT_EQ(logCount("\r\nReturn to home page\r\n"), 1);
    EXPECT_EQ(m_state.lastReturn, m_start + 10min) << "the tick that returned";

    runHousekeepingFor(30 * 60);
    EXPECT_EQ(m_host.count("GoHome"), 1) << "no second return without input";

    m_state.input.record();
    runHousekeepingFor(10 * 60);
    EXPECT_EQ(m_host.count("GoHome"), 2);
    EXPECT_EQ(m_host.count("ToggleKeyboard"), 1) << "a hidden keyboard stays hidden";
}

TEST_F(UnattendedOperationTest, SessionKeptWhenClearingIsOff) {
    m_settings.clearSessionOnReturn = false;
    runHousekeepingFor(10 * 60);
    EXPECT_EQ(m_host.count("GoHome"), 1);
    EXPECT_EQ(m_host.count("ClearSession"), 0);
    EXPECT_EQ(m_host.count("ResetZoom"), 1) << "the visitor's zoom goes with the visit";
    EXPECT_EQ(logCount("Session cleared"), 0);
}

TEST_F(UnattendedOperationTest, PageStartsAfreshAtAReturnAboveTheMemoryLimit) {
    m_settings.autoReturn = 1;
    m_settings.returnWarning = 0;
    m_settings.clearSessionOnReturn = false;
    m_settings.memoryLimitMb = 300;
    m_host.memory = 300 * 1024;  // at the limit: nothing happens
    runHousekeepingFor(60);
    EXPECT_EQ(m_host.count("RenewPage"), 0);

    m_host.memory = 300 * 1024 + 1;
    m_state.input.recordTouch();
    runHousekeepingFor(60);
    EXPECT_EQ(m_host.count("RenewPage"), 1);
    EXPECT_EQ(logCount("Memory use 300 MB is above MemoryLimitMB 300: the page starts afresh"), 1);

    m_host.memory = -1;  // unknown: nothing to act on
    m_state.input.recordTouch();
    runHousekeepingFor(60);
    EXPECT_EQ(m_host.count("RenewPage"), 1);

    m_settings.clearSessionOnReturn = true;  // a new session is a new page already
    m_host.memory = 900 * 1024;
    m_state.input.recordTouch();
    runHousekeepingFor(60);
    EXPECT_EQ(m_host.count("RenewPage"), 1);
    EXPECT_EQ(m_host.count("ClearSession"), 1);
    EXPECT_EQ(logCount("Memory use 900 MB"), 1);
}

TEST_F(UnattendedOperationTest, WarningComesOnceBeforeTheReturnAndInputCancelsIt) {
    m_settings.autoReturn = 2;
    runHousekeepingFor(85);
    EXPECT_EQ(m_host.count("ShowReturnWarning 35000"), 0);
    runHousekeepingFor(5);
    EXPECT_EQ(m_host.calls, (std::vector<std::string>{"ShowReturnWarning 30000"}));
    EXPECT_TRUE(m_state.input.returnWarningShowing());
    runHousekeepingFor(25);
    EXPECT_EQ(m_host.calls.size(), 1u) << "shown once, counting down by itself";

    m_state.input.record();  // a pointer that only moves is enough
    EXPECT_EQ(m_host.calls.back(), "HideReturnWarning");
    EXPECT_FALSE(m_state.input.returnWarningShowing());
    runHousekeepingFor(60);
    EXPECT_EQ(m_host.count("GoHome"), 0) << "the input counts as activity";
    runHousekeepingFor(30);
    EXPECT_EQ(m_host.count("ShowReturnWarning 30000"), 2);
    runHousekeepingFor(30);
    EXPECT_EQ(m_host.count("GoHome"), 1);
    EXPECT_FALSE(m_state.input.returnWarningShowing()) << "the return ends the warning";
}

TEST_F(UnattendedOperationTest, WarningLongerThanTheIdleTimeComesAtTheFirstTick) {
    m_settings.autoReturn = 1;
    m_settings.returnWarning = 3600;
    runHousekeepingFor(5);
    EXPECT_EQ(m_host.calls, (std::vector<std::string>{"ShowReturnWarning 55000"}));
}

// One return per idle period: an untouched home page is not loaded again and again.
TEST_F(UnattendedOperationTest, UntouchedHomePageIsNotReloaded) {
    m_settings.autoReturn = 1;
    m_settings.screensaver = "http://127.0.0.1/saver.html";
    m_host.homeUnchanged = true;
    runHousekeepingFor(60);
    EXPECT_EQ(m_host.calls,
              (std::vector<std::string>{"ShowScreensaver http://127.0.0.1/saver.html"}))
        << "no warning, no reload; the screensaver still comes";

    m_state.input.record();  // the pointer moved: the screensaver goes, the page is untouched
    runHousekeepingFor(60);
    EXPECT_EQ(m_host.count("GoHome"), 0);
    EXPECT_EQ(m_host.count("ShowScreensaver http://127.0.0.1/saver.html"), 2);

    m_state.input.recordTouch();  // a key, a button or the wheel may have changed the page
    runHousekeepingFor(60);
    EXPECT_EQ(m_host.count("GoHome"), 1);

    m_host.homeUnchanged = false;  // the page went elsewhere by itself
    m_state.input.record();
    runHousekeepingFor(60);
    EXPECT_EQ(m_host.count("GoHome"), 2);
}

// An updated engine is put in force when the idle time is up, visited or not, and only then.
TEST_F(UnattendedOperationTest, UpdatedEngineStartsTheProgramAfreshAtTheIdleReturn) {
    for (const bool visited : {true, false}) {
        SCOPED_TRACE(visited ? "visited" : "untouched home page");
        m_host.calls.clear();
        m_host.homeUnchanged = !visited;
        m_host.engineUpdated = false;
        m_settings.returnWarning = 0;
        m_state.input.recordTouch();
        runHousekeepingFor(5 * 60);
        m_host.engineUpdated = true;  // unattended-upgrades ran
        runHousekeepingFor(4 * 60 + 50);
        EXPECT_EQ(m_host.count("RestartProgram"), 0) << "not while the visitor may be there";
        runHousekeepingFor(10);
        EXPECT_EQ(m_host.count("RestartProgram"), 1);
        EXPECT_EQ(m_host.count("GoHome"), 0) << "the fresh program opens the home page";
        runHousekeepingFor(30 * 60);
        EXPECT_EQ(m_host.count("RestartProgram"), 1) << "once per idle period";
    }
    EXPECT_EQ(logCount("\r\nBrowser engine updated on disk: the kiosk starts afresh\r\n"), 2);
}

TEST_F(UnattendedOperationTest, ScreensaverPageFollowsTheReturn) {
    m_settings.screensaver = "http://127.0.0.1/saver.html";
    m_settings.autoReturn = 1;
    runHousekeepingFor(60);
    EXPECT_EQ(m_host.calls.back(), "ShowScreensaver http://127.0.0.1/saver.html");
    EXPECT_TRUE(m_state.input.screensaverShowing());
    m_state.input.record();
    m_state.input.record();
    EXPECT_EQ(m_host.calls.back(), "HideScreensaver");
    EXPECT_EQ(m_host.count("HideScreensaver"), 1) << "the next input hides it, once";
    EXPECT_FALSE(m_state.input.screensaverShowing());
}

TEST_F(UnattendedOperationTest, SafeWebBrowserModeNeverReturns) {
    m_settings.autoReturn = 2147483647;
    runHousekeepingFor(24 * 60 * 60);
    EXPECT_EQ(m_host.count("GoHome"), 0);
}

TEST_F(UnattendedOperationTest, ForeignWindowsAndShellEveryTick) {
    m_settings.autoCloseAll = true;
    m_settings.killExplorer = true;
    runHousekeepingFor(15);
    EXPECT_EQ(m_host.count("CloseForeignWindows"), 3);
    EXPECT_EQ(m_host.count("StopShell"), 3);
    EXPECT_EQ(logCount("\r\nKill explorer\r\n"), 3);
    m_host.shellFound = false;
    runHousekeepingFor(5);
    EXPECT_EQ(logCount("\r\nKill explorer\r\n"), 3) << "logged only when a shell was asked to end";
}

TEST_F(UnattendedOperationTest, DailyRestartAtItsTimeAskedAgainWhenTheSystemMayBeAsked) {
    m_state.dailyRestart.schedule(3h);  // started at 04:00: tomorrow
    const LocalTime due = Tomorrow + 3h;
    passTo(due - 500ms);
    m_operation.guardTick();
    passTo(due);
    m_operation.guardTick();
    EXPECT_EQ(m_host.count("RestartComputer"), 0) << "due only once the time has passed";

    passTo(due + 500ms);
    m_operation.guardTick();
    EXPECT_EQ(m_host.count("RestartComputer"), 1);
    m_host.powerWait = 2000;  // refused: the next request waits
    passTo(due + 1s);
    m_operation.guardTick();
    m_operation.housekeepingTick();
    EXPECT_EQ(m_host.count("RestartComputer"), 1) << "not before the system may be asked";
    EXPECT_EQ(m_operation.millisecondsToRestart(), 2000);
    EXPECT_EQ(m_operation.millisecondsToNextHousekeeping(true), 2000);

    m_host.powerWait = 0;
    m_host.restartAccepted = true;
    m_operation.guardTick();
    EXPECT_EQ(m_host.count("RestartComputer"), 2);
    EXPECT_EQ(m_host.calls.back(), "QuitApplication");
}

// The guard tick rests at rest: the housekeeping tick and a timer armed from the countdown
// carry the restart then; while the system has not answered, its answer does.
TEST_F(UnattendedOperationTest, DailyRestartFromTheHousekeepingTickAndItsCountdown) {
    m_state.dailyRestart.schedule(5h);
    const LocalTime due = Today + 5h;
    passTo(due - 2s);
    EXPECT_EQ(m_operation.millisecondsToRestart(), 2001) << "due one millisecond after its time";
    m_operation.housekeepingTick();
    EXPECT_EQ(m_host.count("RestartComputer"), 0);

    passTo(due + 1ms);
    EXPECT_EQ(m_operation.millisecondsToRestart(), 0);
    m_operation.housekeepingTick();
    EXPECT_EQ(m_host.count("RestartComputer"), 1);
    m_host.powerWait = -1;  // asked, not answered yet
    m_state.input.disarm();
    EXPECT_EQ(m_operation.millisecondsToRestart(), -1);
    EXPECT_EQ(m_operation.millisecondsToNextHousekeeping(true), -1) << "the answer wakes it";
    m_operation.housekeepingTick();
    EXPECT_EQ(m_host.count("RestartComputer"), 1) << "one request in flight";
}

struct ClockChange {
    const char* name;
    void (*change)(test::FakeClock& clock);
};

// The idle time is the visitor's absence, whatever is done to the clock meanwhile.
TEST_F(UnattendedOperationTest, IdleReturnComesOnTimeWhateverTheClockDoes) {
    const ClockChange changes[] = {
        {"ClockSetBackAnHour", [](test::FakeClock& c) { c.set(c.now() - 1h); }},
        {"ClockSetForwardAnHour", [](test::FakeClock& c) { c.set(c.now() + 1h); }},
        {"DaylightSavingEnds", [](test::FakeClock& c) { c.changeZone(-1h); }},
        {"DaylightSavingBegins", [](test::FakeClock& c) { c.changeZone(1h); }},
        {"ClockSetRightFromYear2000",
         [](test::FakeClock& c) { c.set(test::date(2000, 1, 1) + 40s); }},
    };
    m_settings.autoReturn = 1;
    m_settings.returnWarning = 10;
    for (const ClockChange& row : changes) {
        SCOPED_TRACE(row.name);
        m_host.calls.clear();
        m_state.input.recordTouch();
        runHousekeepingFor(30);
        row.change(m_clock);
        runHousekeepingFor(15);
        EXPECT_EQ(m_host.calls, std::vector<std::string>{}) << "nothing 45 s after the input";
        runHousekeepingFor(5);
        EXPECT_EQ(m_host.calls, (std::vector<std::string>{"ShowReturnWarning 10000"}));
        runHousekeepingFor(5);
        EXPECT_EQ(m_host.count("GoHome"), 0);
        runHousekeepingFor(5);
        EXPECT_EQ(m_host.count("GoHome"), 1) << "after the minute of absence";
    }
}

// A terminal whose clock battery is dead starts in 2000; NTP sets the clock right soon after.
// The restart time passed in the jump is not a restart: the next one comes at its time.
TEST_F(UnattendedOperationTest, ClockSetRightFromYear2000DoesNotRestart) {
    const LocalTime boot = test::date(2000, 1, 1) + 5s;
    m_clock.set(boot);
    m_state.dailyRestart.schedule(3h);
    runHousekeepingFor(10);
    m_clock.set(m_start + 10h);  // NTP: 14:00
    runHousekeepingFor(10 * 60);
    m_operation.guardTick();
    EXPECT_EQ(m_host.count("RestartComputer"), 0);
    EXPECT_EQ(logCount("\r\nClock moved forward "), 1);
    EXPECT_EQ(logCount(" s: next restart 2026-12-11T03:00:00\r\n"), 1);

    const LocalTime next = Tomorrow + 3h;
    passTo(next - 5s);
    m_operation.housekeepingTick();
    EXPECT_EQ(m_host.count("RestartComputer"), 0);
    passTo(next + 1ms);
    m_operation.housekeepingTick();
    EXPECT_EQ(m_host.count("RestartComputer"), 1) << "the restart time crossed in step";
}

// The housekeeping sleeps until the warning, the return or the restart is due, at most a
// minute, and not at all when nothing will be due before an input.
TEST_F(UnattendedOperationTest, HousekeepingSleepsUntilSomethingIsDue) {
    constexpr bool reportsChanges = true;
    m_settings.autoReturn = 2;
    m_settings.returnWarning = 30;
    EXPECT_EQ(m_operation.millisecondsToNextHousekeeping(reportsChanges), 60000) << "a minute";
    passTo(m_start + 1min);
    EXPECT_EQ(m_operation.millisecondsToNextHousekeeping(reportsChanges), 30001) << "warning";
    passTo(m_start + 1min + 30s + 1ms);
    m_operation.housekeepingTick();
    ASSERT_EQ(m_host.calls, (std::vector<std::string>{"ShowReturnWarning 29999"}));
    EXPECT_EQ(m_operation.millisecondsToNextHousekeeping(reportsChanges), 30000) << "return";
    passTo(m_start + 2min + 1ms);
    m_operation.housekeepingTick();
    ASSERT_EQ(m_host.count("GoHome"), 1);
    EXPECT_EQ(m_operation.millisecondsToNextHousekeeping(reportsChanges), -1)
        << "nothing due until the next input";

    m_state.input.record();
    EXPECT_EQ(m_operation.millisecondsToNextHousekeeping(reportsChanges), 60000);
    m_settings.autoReturn = 0;
    EXPECT_EQ(m_operation.millisecondsToNextHousekeeping(reportsChanges), -1) << "no return";

    m_state.dailyRestart.schedule(5h);
    const LocalTime restart = Today + 5h;
    passTo(restart - 2s);
    EXPECT_EQ(m_operation.millisecondsToNextHousekeeping(reportsChanges), 2001) << "restart";
    passTo(restart + 1ms);
    m_host.powerWait = 4000;
    EXPECT_EQ(m_operation.millisecondsToNextHousekeeping(reportsChanges), 4000)
        << "a refused restart is asked again when the system may be asked";
}

// The desktop wakes the housekeeping with its own reports; only what it was asked to close and
// may still be there is looked at again every five seconds.
TEST_F(UnattendedOperationTest, DesktopLookedAtAgainOnlyWhileSomethingWasAskedToGo) {
    struct Case {
        const char* name;
        bool autoCloseAll;
        bool killExplorer;
        bool windowsGone;
        bool shellFound;
        bool reportsChanges;
        long long next;
    };
    const Case cases[] = {
        {"nothing configured", false, false, false, true, false, -1},
        {"windows gone", true, false, true, false, true, -1},
        {"a window asked to close", true, false, false, false, true, 5000},
        {"shell asked to end", false, true, true, true, true, 5000},
        {"no shell", false, true, true, false, true, -1},
        {"desktop tells nothing", true, true, true, false, false, 5000},
    };
    m_state.input.disarm();
    for (const Case& c : cases) {
        m_settings.autoCloseAll = c.autoCloseAll;
        m_settings.killExplorer = c.killExplorer;
        m_host.windowsGone = c.windowsGone;
        m_host.shellFound = c.shellFound;
        m_operation.lookAfterDesktop();
        EXPECT_EQ(m_operation.millisecondsToNextHousekeeping(c.reportsChanges), c.next) << c.name;
    }
}

TEST_F(UnattendedOperationTest, NoRestartWhenOff) {
    m_state.dailyRestart.schedule(std::nullopt);
    m_operation.guardTick();
    m_operation.housekeepingTick();
    EXPECT_EQ(m_host.count("RestartComputer"), 0);
    EXPECT_EQ(m_operation.millisecondsToRestart(), -1);
}

// A visitor who never stops: a touch before every housekeeping tick.
class VisitLimitTest : public UnattendedOperationTest {
protected:
    VisitLimitTest() {
        m_settings.sessionMinutes = 2;
        m_settings.autoReturn = 10;
    }

    void stayBusyFor(int seconds) {
        for (int elapsed = 0; elapsed < seconds; elapsed += 5) {
            m_state.input.recordTouch();
            runHousekeepingFor(5);
        }
    }
};

TEST_F(VisitLimitTest, BusyVisitEndsAtItsLimitAfterANoticeInputDoesNotTakeAway) {
    stayBusyFor(85);
    EXPECT_TRUE(m_host.calls.empty());
    stayBusyFor(5);
    EXPECT_EQ(m_host.calls, (std::vector<std::string>{"ShowVisitEndWarning 30000"}));
    stayBusyFor(25);
    EXPECT_EQ(m_host.calls.size(), 1u) << "shown once; the visitor's input leaves it";

    stayBusyFor(5);
    EXPECT_EQ(logCount("Session time limit of 2 min reached"), 1);
    EXPECT_EQ(m_host.count("ClearSession"), 1);
    EXPECT_EQ(m_host.count("GoHome"), 1);
    EXPECT_EQ(m_host.count("HideReturnWarning"), 1);

    stayBusyFor(120);
    EXPECT_EQ(m_host.count("ShowVisitEndWarning 30000"), 2) << "the next visit has its own time";
    EXPECT_EQ(logCount("Session time limit of 2 min reached"), 2);
}

TEST_F(VisitLimitTest, VisitBeginsWithTheFirstTouchAfterAReturn) {
    m_settings.sessionMinutes = 1;
    for (int second = 0; second < 300; second += 5) {
        m_state.input.record();  // a pointer that only moves uses nothing
        runHousekeepingFor(5);
    }
    EXPECT_EQ(logCount("Session time limit"), 0);
    EXPECT_EQ(m_operation.millisecondsToNextHousekeeping(true), 60000) << "the longest sleep";

    m_state.input.recordTouch();
    EXPECT_EQ(m_operation.millisecondsToNextHousekeeping(true), 30001) << "the visit's notice";
    m_settings.sessionMinutes = 0;
    EXPECT_EQ(m_operation.millisecondsToNextHousekeeping(true), 60000) << "no limit";
}

TEST_F(VisitLimitTest, IdleNoticeGivesWayToTheVisitEnd) {
    m_settings.autoReturn = 3;
    m_settings.returnWarning = 90;
    m_state.input.recordTouch();
    runHousekeepingFor(100);
    EXPECT_EQ(m_host.calls, (std::vector<std::string>{"ShowVisitEndWarning 90000"}))
        << "the idle notice, due at 90 s, would announce a return that never comes";
    runHousekeepingFor(20);
    EXPECT_EQ(logCount("Session time limit of 2 min reached"), 1);
}

}  // namespace
}  // namespace plintor
