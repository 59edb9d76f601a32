#pragma once

#include <functional>

#include "app/PowerRequests.h"
#include "core/app/UnattendedOperation.h"

namespace plintor {

struct KioskState;
class ScreenGuard;
class SystemInfo;

// The machine and the program around the kiosk, as the unattended operation sees them: the
// memory, the screen guard, the foreign windows and the shell, the daily restart, the program's
// end and its fresh start on an updated engine.
class SystemActions final : public KioskSystem {
public:
    // `quit` ends the program after the current event.
    SystemActions(KioskState& state, PowerRequests& power, const SystemInfo& system,
                  ScreenGuard& screenGuard, std::function<void()> quit);

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
    KioskState& m_state;
    PowerRequests& m_power;
    const SystemInfo& m_system;
    ScreenGuard& m_screenGuard;
    std::function<void()> m_quit;
    bool m_dailyRestartAsked = false;
};

}  // namespace plintor
