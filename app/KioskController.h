#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>

#include "core/app/KioskMessage.h"
#include "core/app/UnattendedOperation.h"

namespace plintor {

struct TKioskState;
class IDesktopControl;
class IPowerActions;
class TKioskWindow;

// What the kiosk does without a visitor, and with the operator's and other programs' requests:
// the guard tick (daily restart, keyboard, screen guard) and the housekeeping tick (idle return,
// foreign windows, shell), the control messages, the power actions of the shutdown panel and the
// end of the program.
class TKioskController final : public QObject, private IUnattendedHost {
    Q_OBJECT
public:
    TKioskController(TKioskState& state, TKioskWindow& window, IPowerActions& power);

    // The desktop control, when there is one (it may come late, see the lockdown's retry).
    void SetDesktopControl(IDesktopControl* desktop) { FDesktop = desktop; }
    // Starts the ticks.
    void Start();
    void HandleMessage(const TKioskMessage& message);
    // Ends the program after the current event: the ticks stop and the loop ends.
    void Quit();

private:
    void OpenHomeOnce();
    void RemoteQuit(std::int32_t wParam, std::int32_t lParam);
    void PowerActionConfirmed(int action);
    void ApplicationStateChanged(Qt::ApplicationState state);

    // The unattended operation's view of the window and the system.
    void GoHome() override;
    bool KeyboardShown() const override;
    void ToggleKeyboard() override;
    void LeaveWheelchairMode() override;
    void ShowScreensaver(const std::string& address) override;
    void HideScreensaver() override;
    void UpdateTouchKeyboard() override;
    void GuardScreen() override;
    bool WindowsRestart() override;
    void QuitApplication() override;
    void CloseForeignWindows() override;
    bool StopShell() override;

    TKioskState& FState;
    TKioskWindow& FWindow;
    IPowerActions& FPower;
    IDesktopControl* FDesktop = nullptr;
    TUnattendedOperation FUnattended;
    QTimer FGuardTick;
    QTimer FHousekeepingTick;
};

}  // namespace plintor
