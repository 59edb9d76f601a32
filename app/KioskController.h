#pragma once

#include <cstdint>
#include <memory>

#include "core/app/KioskMessage.h"
#include "core/app/RendererRecovery.h"
#include "core/app/UnattendedOperation.h"
#include "app/ScreenGuard.h"
#include "app/ShutdownPanel.h"
#include "glib/ScopedSignal.h"
#include "glib/Timeout.h"

namespace plintor {

struct KioskState;
class DesktopControl;
class PowerActions;
class SystemInfo;
class KioskWindow;

// What the kiosk does without a visitor, and with the operator's and other programs' requests:
// the guard tick (daily restart, keyboard, screen guard) while something needs watching, the
// housekeeping tick (daily restart, idle return, foreign windows, shell) when something is due,
// the control messages, the power actions of the shutdown panel, the recovery of a page whose
// web process failed, and the end of the program. At rest, with nothing shown that changes and
// nothing due, no timer wakes the program.
class KioskController final : private UnattendedHost {
public:
    KioskController(KioskState& state, KioskWindow& window, PowerActions& power,
                    const SystemInfo& system);
    KioskController(const KioskController&) = delete;
    KioskController& operator=(const KioskController&) = delete;
    ~KioskController() override;

    // The desktop control, when there is one (it may come late, see the lockdown's retry).
    void setDesktopControl(DesktopControl* desktop);
    // Starts the ticks.
    void start();
    void handleMessage(const KioskMessage& message);
    // Ends the program after the current event: the ticks stop and the loop ends.
    void quit();

    // The window's events that are the controller's to answer.
    void windowShown();
    void keyboardToggled();
    void rendererEnded(const std::string& reason);
    void rendererUnresponsive();

private:
    static void onActiveChanged(GObject* window, GParamSpec* property, gpointer self);
    void openHomeOnce();
    void housekeepingTick();
    // The guard tick runs only while the touch keyboard is shown (its layout may change), the
    // desktop has to be asked for changes, or a due restart is refused (it is asked again).
    void updateGuardTick();
    // The housekeeping tick for when its next work is due; none when nothing is.
    void scheduleHousekeeping();
    void inputCame();
    void remoteQuit(std::int32_t wParam, std::int32_t lParam);
    void powerActionConfirmed(ShutdownPanel::Action action);
    // The page's web process ended or hung: the home page comes back in a fresh session, soon
    // or, when it keeps happening, a minute later.
    void recoverLater();
    void recoverRenderer();

    // The unattended operation's view of the window and the system.
    void goHome() override;
    bool homePageUnchanged() const override;
    void clearSession() override;
    void showReturnWarning(long long millisecondsLeft) override;
    void hideReturnWarning() override;
    long long memoryKiB() const override;
    void renewPage() override;
    bool keyboardShown() const override;
    void toggleKeyboard() override;
    void leaveWheelchairMode() override;
    void showScreensaver(const std::string& address) override;
    void hideScreensaver() override;
    void updateTouchKeyboard() override;
    void guardScreen() override;
    bool restartComputer() override;
    void quitApplication() override;
    bool closeForeignWindows() override;
    bool stopShell() override;
    bool engineReplaced() const override;
    void restartProgram() override;

    KioskState& m_state;
    KioskWindow& m_window;
    PowerActions& m_power;
    const SystemInfo& m_system;
    UnattendedOperation m_unattended;
    ScreenGuard m_screenGuard;
    Timeout m_guardTick;
    Timeout m_housekeepingTick;
    // Input reaches the activity record in the middle of the input hooks' processing: what it
    // hides goes after it.
    Timeout m_hideWarningLater;
    Timeout m_hideScreensaverLater;
    RendererRecovery m_recovery;
    Timeout m_recoveryDelay;
    ScopedSignal m_activeChanged;
};

}  // namespace plintor
