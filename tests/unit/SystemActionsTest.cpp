// The machine's side of the unattended operation on a platform in memory: the daily restart that
// the system refuses and a later one it accepts, the shell whose record cannot be written, and a
// kiosk whose desktop never came.
#include "app/SystemActions.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/GuardedWindow.h"
#include "app/ScreenGuard.h"
#include "core/app/KioskState.h"
#include "platform/Desktop.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/MainLoopUntil.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

class HiddenWindow final : public GuardedWindow {
public:
    unsigned long nativeId() const override { return 5; }
    bool isVisible() const override { return false; }
};

class SystemActionsTest : public ::testing::Test {
protected:
    // Until the request in flight is answered.
    bool answered() {
        return test::runMainLoopUntil([&] { return m_actions.powerRequestWaitMs() != -1; });
    }

    test::TempDir m_dir;
    test::FakePlatform m_platform;
    test::FakeMonotonicClock m_steady;
    KioskState m_state{systemClock(), m_steady};
    const LogWriter m_log{m_dir.path("plintor.log"), systemClock()};
    PowerRequests m_power{
        m_platform.powerActions(), m_steady,
        [this](PowerRequest what, bool accepted) { m_actions.powerAnswered(what, accepted); },
        m_log};
    HiddenWindow m_window;
    ScreenGuard m_guard{m_window, [] {}};
    int m_quits = 0;
    SystemActions m_actions{m_state,        m_power, m_platform.systemInfo(),
                            "libengine.so", m_guard, [this] { ++m_quits; },
                            [] {}};
};

TEST_F(SystemActionsTest, ARefusedDailyRestartIsAskedAgainAfterTheWaitAndEndsTheKiosk) {
    m_platform.script.powerAnswers = {false, true};
    m_actions.restartComputer();
    ASSERT_TRUE(answered());
    EXPECT_EQ(m_platform.calls.count("power.restart(force)"), 1);
    EXPECT_EQ(m_quits, 0) << "a refused restart leaves the kiosk running";
    EXPECT_GT(m_actions.powerRequestWaitMs(), 0);

    m_actions.restartComputer();  // too soon: not asked
    EXPECT_EQ(m_platform.calls.count("power.restart(force)"), 1);

    m_steady.advance(std::chrono::milliseconds(m_actions.powerRequestWaitMs()));
    m_actions.restartComputer();
    ASSERT_TRUE(answered());
    EXPECT_EQ(m_platform.calls.count("power.restart(force)"), 2);
    EXPECT_EQ(m_quits, 1);
}

TEST_F(SystemActionsTest, AShellWhoseRecordCannotBeWrittenIsNotAskedAgainAtOnce) {
    const std::unique_ptr<Desktop> desktop = m_platform.connectDesktop();
    desktop->keepChangesRecord(m_dir.path("missing/record"));
    m_guard.setDesktop(desktop.get());
    EXPECT_FALSE(m_actions.stopShell());
    EXPECT_FALSE(m_actions.stopShell());
    EXPECT_EQ(m_platform.calls.count("shell.stopShell"), 1) << "tried again only after a while";
    EXPECT_TRUE(m_platform.script.desktop.shellRunning);
}

TEST_F(SystemActionsTest, WithoutADesktopNothingIsLeftToCloseOrStop) {
    EXPECT_TRUE(m_actions.closeForeignWindows());
    EXPECT_FALSE(m_actions.stopShell());
    m_platform.script.engineReplaced = true;
    EXPECT_TRUE(m_actions.engineReplaced());
    m_actions.restartProgram();
    EXPECT_TRUE(m_state.restartRequested);
    EXPECT_EQ(m_quits, 1);
}

}  // namespace
}  // namespace plintor
