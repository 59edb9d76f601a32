// The screen guard's decisions on a desktop in memory: what it asks of the window stacking, and
// when a change the desktop reports makes it look again.
#include "app/ScreenGuard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/GuardedWindow.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/MainLoopUntil.h"

namespace plintor {
namespace {

using Calls = std::vector<std::string>;

class KioskWindowStandIn final : public GuardedWindow {
public:
    unsigned long nativeId() const override { return 77; }
    bool isVisible() const override { return visible; }
    bool visible = true;
};

class ScreenGuardTest : public ::testing::Test {
protected:
    void connect() {
        m_desktop = m_platform.connectDesktop();
        m_platform.calls.clear();
        m_guard.setDesktop(m_desktop.get());
    }

    test::FakePlatform m_platform;
    KioskWindowStandIn m_window;
    int m_changesTold = 0;
    ScreenGuard m_guard{m_window, [this] { ++m_changesTold; }};
    std::unique_ptr<Desktop> m_desktop;
};

struct GuardCase {
    const char* name;
    bool foreignInFront;
    bool screensaverRunning;
    bool visible;
    Calls expected;
};

class ScreenGuardDecisionTest : public ScreenGuardTest,
                                public ::testing::WithParamInterface<GuardCase> {};

TEST_P(ScreenGuardDecisionTest, AsksTheStackingWhatTheDesktopNeeds) {
    const GuardCase& row = GetParam();
    m_platform.script.desktop.foreignInFront = row.foreignInFront;
    m_platform.script.desktop.screensaverRunning = row.screensaverRunning;
    m_window.visible = row.visible;
    connect();
    m_guard.guardScreen();
    EXPECT_EQ(m_platform.calls.calls(), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, ScreenGuardDecisionTest,
    ::testing::Values(
        GuardCase{
            "OwnWindowInFrontStaysTopmost", false, false, true, {"stacking.setTopmost(77, true)"}},
        GuardCase{"ForeignWindowInFrontIsCovered",
                  true,
                  false,
                  true,
                  {"stacking.setTopmost(77, true)", "stacking.bringWindowToFront(77)"}},
        GuardCase{"ScreensaverRunsOnTop",
                  true,
                  true,
                  true,
                  {"stacking.setTopmost(77, false)", "stacking.lowerWindow(77)"}},
        GuardCase{"HiddenWindowIsLeftAlone", true, false, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScreenGuardTest, AReportedChangeBringsAPassAndTellsTheOperation) {
    connect();
    EXPECT_TRUE(m_guard.desktopReportsChanges());
    m_platform.script.desktop.foreignInFront = true;
    m_platform.desktop()->reportChange();
    ASSERT_TRUE(test::runMainLoopUntil([&] { return m_changesTold == 1; }));
    EXPECT_EQ(m_platform.calls.count("stacking.bringWindowToFront(77)"), 1);

    // Nothing reported: nothing looked at, however long the loop runs.
    m_platform.calls.clear();
    test::runMainLoopUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(m_changesTold, 1);
    EXPECT_EQ(m_platform.calls.calls(), Calls{});
}

TEST_F(ScreenGuardTest, ADesktopWithoutReportsIsAskedOnTheTick) {
    m_platform.script.desktop.reportsChanges = false;
    connect();
    EXPECT_FALSE(m_guard.desktopReportsChanges());
}

TEST_F(ScreenGuardTest, NothingIsAskedWithoutADesktopOrAfterTheStop) {
    m_guard.guardScreen();
    connect();
    m_guard.stop();
    m_platform.desktop()->reportChange();
    m_guard.guardScreen();
    test::runMainLoopUntil([] { return false; }, std::chrono::milliseconds(50));
    EXPECT_EQ(m_platform.calls.calls(), Calls{});
    EXPECT_EQ(m_changesTold, 0);
}

}  // namespace
}  // namespace plintor
