#pragma once

#include <string>

#include "core/app/KioskState.h"
#include "core/support/Log.h"

namespace plintor {

// What the timers of the unattended operation ask of the kiosk window and the system.
class IUnattendedHost {
public:
    virtual ~IUnattendedHost() = default;

    virtual void GoHome() = 0;
    virtual bool KeyboardShown() const = 0;
    virtual void ToggleKeyboard() = 0;
    virtual void LeaveWheelchairMode() = 0;
    // Covers the window with the screensaver browser showing `address`, and uncovers it.
    virtual void ShowScreensaver(const std::string& address) = 0;
    virtual void HideScreensaver() = 0;
    virtual void UpdateTouchKeyboard() = 0;
    // Keeps the window topmost and in front unless the system's screensaver runs.
    virtual void GuardScreen() = 0;

    virtual bool WindowsRestart() = 0;  // true when the system accepted the restart
    virtual void QuitApplication() = 0;
    virtual void CloseForeignWindows() = 0;
    virtual bool StopShell() = 0;  // true when a shell was found and asked to end
};

// The two timers that keep a terminal in shape without anyone watching it.
class TUnattendedOperation {
public:
    static constexpr int Timer1IntervalMs = 500;
    static constexpr int Timer2IntervalMs = 5000;

    // `log` takes "Return to home page" and "Kill explorer".
    TUnattendedOperation(TKioskState& state, IUnattendedHost& host,
                         const TLogWriter& log = ProgramLog())
        : FState(state), FHost(host), FLog(log) {}

    // Every half second: the daily restart (tried again each tick while the system refuses),
    // the touch keyboard, the screen guard.
    void Timer1Timer();
    // Every five seconds: the return to the home page after the idle time (once per idle
    // period), then the foreign windows and the shell, as configured.
    void Timer2Timer();

private:
    void ReturnToHomePage();

    TKioskState& FState;
    IUnattendedHost& FHost;
    const TLogWriter& FLog;
};

}  // namespace plintor
