#pragma once

#include <functional>
#include <string>

#include "app/PowerRequests.h"
#include "core/app/UnattendedOperation.h"
#include "glib/Timeout.h"

namespace plintor {

struct KioskState;
class ScreenGuard;
class SystemInfo;

// The machine and the program around the kiosk, as the unattended operation sees them: the
// memory, the screen guard, the foreign windows and the shell, the daily restart, the program's
// end and its fresh start on an updated engine. A shell left running because the record that
// would bring it back cannot be written is tried again later, at growing intervals, and not on
// every desktop change in between.
class SystemActions final : public KioskSystem {
public:
    // `engineLibrary`: the browser engine's library file, whose replacement is an update.
    // `quit` ends the program after the current event; `lookAgain` looks after the desktop when
    // a shell left running is due to be tried again.
    SystemActions(KioskState& state, PowerRequests& power, const SystemInfo& system,
                  std::string engineLibrary, ScreenGuard& screenGuard, std::function<void()> quit,
                  std::function<void()> lookAgain);

    long long memoryKiB() const override;
    void guardScreen() override;
    void restartComputer() override;
    long long powerRequestWaitMs() const override;
    // A power request was answered: an accepted daily restart ends the program.
    void powerAnswered(PowerRequest what, bool accepted);
    void quitApplication() override;
    bool closeForeignWindows() override;
    bool stopShell() override;
    bool engineReplaced() const override;
    void restartProgram() override;

private:
    static constexpr int FirstShellRetryMs = 10000;
    static constexpr int LongestShellRetryMs = 600000;

    void shellStopWithheld(const std::string& why);

    KioskState& m_state;
    PowerRequests& m_power;
    const SystemInfo& m_system;
    const std::string m_engineLibrary;
    ScreenGuard& m_screenGuard;
    std::function<void()> m_quit;
    bool m_dailyRestartAsked = false;
    Timeout m_shellRetry;
    int m_shellRetryMs = FirstShellRetryMs;
    std::string m_shellWithheldFor;  // the reason last logged
};

}  // namespace plintor
