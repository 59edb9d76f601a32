#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdint>
#include <memory>

#include "core/app/KioskMessage.h"
#include "core/app/RendererRecovery.h"
#include "core/app/UnattendedOperation.h"

namespace plintor {

struct KioskState;
class DesktopControl;
class PowerActions;
class SystemInfo;
class KioskWindow;

// What the kiosk does without a visitor, and with the operator's and other programs' requests:
// the screen guard, the foreign windows and the shell on every change the desktop reports, the
// guard tick (daily restart, keyboard, screen guard) while something needs watching, the
// housekeeping tick (daily restart, idle return, foreign windows, shell) when something is due,
// the control messages, the power actions of the shutdown panel and the end of the program. At
// rest, with nothing shown that changes and nothing due, no timer wakes the program.
class KioskController final : public QObject, private UnattendedHost {
    Q_OBJECT
public:
    KioskController(KioskState& state, KioskWindow& window, PowerActions& power,
                    const SystemInfo& system);
    ~KioskController() override;

    // The desktop control, when there is one (it may come late, see the lockdown's retry).
    void setDesktopControl(DesktopControl* desktop);
    // Starts the ticks.
    void start();
    void handleMessage(const KioskMessage& message);
    // Ends the program after the current event: the ticks stop and the loop ends.
    void quit();

private:
    void openHomeOnce();
    void housekeepingTick();
    // The guard tick runs only while the touch keyboard is shown (its layout may change), the
    // desktop has to be asked for changes, or a due restart is refused (it is asked again).
    void updateGuardTick();
    // The housekeeping tick for when its next work is due; none when nothing is.
    void scheduleHousekeeping();
    void inputCame();
    void lookAtDesktopChanges();
    void lookAtQueuedDesktopChanges();
    void remoteQuit(std::int32_t wParam, std::int32_t lParam);
    void powerActionConfirmed(int action);
    void applicationStateChanged(Qt::ApplicationState state);
    // The page's renderer ended or hung: the home page comes back in a fresh session, soon or,
    // when it keeps happening, a minute later.
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
    // Qt WebEngine is part of the program's own libraries: no update replaces it alone.
    bool engineReplaced() const override { return false; }
    void restartProgram() override {}

    KioskState& m_state;
    KioskWindow& m_window;
    PowerActions& m_power;
    const SystemInfo& m_system;
    DesktopControl* m_desktop = nullptr;
    UnattendedOperation m_unattended;
    QTimer m_guardTick;
    QTimer m_housekeepingTick;
    std::unique_ptr<QSocketNotifier> m_desktopChanges;
    // Our own answers change the desktop as well (our window becomes the active one): what came
    // in during a guard pass is looked at after it, from the event loop.
    QTimer m_desktopCheck;
    int m_guardPassesInARow = 0;
    RendererRecovery m_recovery;
    QTimer m_recoveryDelay;
};

}  // namespace plintor
