#include "core/app/UnattendedOperation.h"

#include <gtest/gtest.h>

#include "core/config/Settings.h"
#include "core/support/Log.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using test::ReadBytes;

class TRecordingHost final : public IUnattendedHost {
public:
    std::vector<std::string> Calls;
    bool KeyboardVisible = true;
    bool RestartAccepted = false;
    bool ShellFound = true;

    void GoHome() override { Calls.push_back("GoHome"); }
    bool KeyboardShown() const override { return KeyboardVisible; }
    void ToggleKeyboard() override {
        KeyboardVisible = !KeyboardVisible;
        Calls.push_back("ToggleKeyboard");
    }
    void LeaveWheelchairMode() override { Calls.push_back("LeaveWheelchairMode"); }
    void ShowScreensaver(const std::string& address) override {
        Calls.push_back("ShowScreensaver " + address);
    }
    void HideScreensaver() override { Calls.push_back("HideScreensaver"); }
    void UpdateTouchKeyboard() override {}
    void GuardScreen() override {}
    bool WindowsRestart() override {
        Calls.push_back("WindowsRestart");
        return RestartAccepted;
    }
    void QuitApplication() override { Calls.push_back("QuitApplication"); }
    void CloseForeignWindows() override { Calls.push_back("CloseForeignWindows"); }
    bool StopShell() override {
        Calls.push_back("StopShell");
        return ShellFound;
    }

    int Count(const std::string& call) const {
        return static_cast<int>(std::count(Calls.begin(), Calls.end(), call));
    }
};

class UnattendedOperationTest : public ::testing::Test {
protected:
    UnattendedOperationTest() { Settings.KillExplorer = false; }

    // Ticks Timer2 every five seconds for `seconds`.
    void RunTimer2For(int seconds) {
        for (int elapsed = 0; elapsed < seconds; elapsed += 5) {
            Clock.Set(Clock.Now() + EncodeTime(0, 0, 5, 0));
            Operation.Timer2Timer();
        }
    }

    int LogCount(const std::string& text) const {
        const std::string log = ReadBytes(Dir.Path("plintor.log"));
        int count = 0;
        for (std::size_t at = log.find(text); at != std::string::npos;
             at = log.find(text, at + 1)) {
            ++count;
        }
        return count;
    }

    test::TTempDir Dir;
    const TDateTime Start = EncodeDate(2026, 12, 10) + EncodeTime(4, 0, 0, 0);
    test::TFakeClock Clock{Start};
    TKioskState State{Clock};
    TSettings& Settings = State.Settings;
    TRecordingHost Host;
    const TLogWriter Log{Dir.Path("plintor.log"), Clock};
    TUnattendedOperation Operation{State, Host, Log};
};

TEST_F(UnattendedOperationTest, ReturnsHomeOnceAfterTheIdleTime) {
    RunTimer2For(9 * 60 + 55);
    EXPECT_EQ(Host.Count("GoHome"), 0);
    RunTimer2For(10);
    EXPECT_EQ(Host.Calls,
              (std::vector<std::string>{"GoHome", "ToggleKeyboard", "LeaveWheelchairMode"}));
    EXPECT_EQ(LogCount("\r\nReturn to home page\r\n"), 1);

    RunTimer2For(30 * 60);
    EXPECT_EQ(Host.Count("GoHome"), 1) << "no second return without input";

    State.Input.Record();
    RunTimer2For(10 * 60);
    EXPECT_EQ(Host.Count("GoHome"), 2);
    EXPECT_EQ(Host.Count("ToggleKeyboard"), 1) << "a hidden keyboard stays hidden";
}

TEST_F(UnattendedOperationTest, ScreensaverPageFollowsTheReturn) {
    Settings.Screensaver = "http://127.0.0.1/saver.html";
    Settings.AutoReturn = 1;
    RunTimer2For(60);
    EXPECT_EQ(Host.Calls.back(), "ShowScreensaver http://127.0.0.1/saver.html");
    EXPECT_TRUE(State.Input.ScreensaverShowing());
    State.Input.Record();
    State.Input.Record();
    EXPECT_EQ(Host.Calls.back(), "HideScreensaver");
    EXPECT_EQ(Host.Count("HideScreensaver"), 1) << "the next input hides it, once";
    EXPECT_FALSE(State.Input.ScreensaverShowing());
}

TEST_F(UnattendedOperationTest, SafeWebBrowserModeNeverReturns) {
    Settings.AutoReturn = 2147483647;
    RunTimer2For(24 * 60 * 60);
    EXPECT_EQ(Host.Count("GoHome"), 0);
}

TEST_F(UnattendedOperationTest, ForeignWindowsAndShellEveryTick) {
    Settings.AutoCloseAll = true;
    Settings.KillExplorer = true;
    RunTimer2For(15);
    EXPECT_EQ(Host.Count("CloseForeignWindows"), 3);
    EXPECT_EQ(Host.Count("StopShell"), 3);
    EXPECT_EQ(LogCount("\r\nKill explorer\r\n"), 3);
    Host.ShellFound = false;
    RunTimer2For(5);
    EXPECT_EQ(LogCount("\r\nKill explorer\r\n"), 3) << "logged only when a shell was asked to end";
}

TEST_F(UnattendedOperationTest, DailyRestartAtItsTimeRetriedWhileRefused) {
    Settings.AutoRestart = EncodeTime(3, 0, 0, 0);
    State.NextRestartTime = DateOf(Start) + 1 + Settings.AutoRestart;  // started at 04:00: tomorrow
    Clock.Set(State.NextRestartTime - EncodeTime(0, 0, 0, 500));
    Operation.Timer1Timer();
    Clock.Set(State.NextRestartTime);
    Operation.Timer1Timer();
    EXPECT_EQ(Host.Count("WindowsRestart"), 0) << "due only once the time has passed";

    Clock.Set(State.NextRestartTime + EncodeTime(0, 0, 0, 500));
    Operation.Timer1Timer();
    Clock.Set(State.NextRestartTime + EncodeTime(0, 0, 1, 0));
    Operation.Timer1Timer();
    EXPECT_EQ(Host.Count("WindowsRestart"), 2);
    EXPECT_EQ(Host.Count("QuitApplication"), 0);

    Host.RestartAccepted = true;
    Operation.Timer1Timer();
    EXPECT_EQ(Host.Calls.back(), "QuitApplication");
}

TEST_F(UnattendedOperationTest, NoRestartWhenOff) {
    State.NextRestartTime = 0;
    Operation.Timer1Timer();
    EXPECT_EQ(Host.Count("WindowsRestart"), 0);
}

}  // namespace
}  // namespace plintor
