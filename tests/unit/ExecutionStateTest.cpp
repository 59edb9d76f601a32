// The system stays awake and the display on while the kiosk runs, also when the desktop comes
// late, and both are let go at its end; on a platform in memory.
#include "app/ExecutionState.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/config/KioskSettings.h"
#include "platform/Desktop.h"
#include "platform/SessionManager.h"
#include "tests/support/FakePlatform.h"

namespace plintor {
namespace {

using Calls = std::vector<std::string>;

TEST(ExecutionStateTest, TheDisplayIsKeptOnFromWhenTheDesktopComesUntilTheEnd) {
    test::FakePlatform platform;
    const std::unique_ptr<SessionManager> session = platform.connectSessionManager();
    const std::unique_ptr<Desktop> desktop = platform.connectDesktop();
    KioskSettings settings;
    settings.displayAlwaysOn = true;
    {
        ExecutionState state(session.get());
        state.apply(executionStateOf(settings));
        EXPECT_EQ(platform.calls.count("displayPower.keepDisplayOn(true)"), 0);
        state.useDisplay(desktop->displayPower());
        state.useDisplay(desktop->displayPower());
        EXPECT_EQ(platform.calls.count("displayPower.keepDisplayOn(true)"), 1);
    }
    EXPECT_EQ(platform.calls.calls(),
              (Calls{"platform.connectDesktop", "session.inhibitSleep",
                     "displayPower.keepDisplayOn(true)", "session.releaseSleepInhibitor",
                     "displayPower.keepDisplayOn(false)"}));
}

TEST(ExecutionStateTest, ADisplayAllowedToSleepIsLeftAloneAndNoBusIsNoFault) {
    test::FakePlatform platform;
    platform.script.systemBusThere = false;
    const std::unique_ptr<Desktop> desktop = platform.connectDesktop();
    KioskSettings settings;
    settings.displayAlwaysOn = false;
    {
        ExecutionState state(platform.connectSessionManager().get());
        state.apply(executionStateOf(settings));
        state.useDisplay(desktop->displayPower());
    }
    EXPECT_EQ(platform.calls.calls(), Calls{"platform.connectDesktop"});
}

}  // namespace
}  // namespace plintor
