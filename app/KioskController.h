#pragma once

#include <optional>
#include <string>

#include "app/MessageRouter.h"
#include "app/PageRecovery.h"
#include "app/PowerRequests.h"
#include "app/ScreenGuard.h"
#include "app/ShutdownPanel.h"
#include "app/SystemActions.h"
#include "app/VisitorSession.h"
#include "core/app/UnattendedOperation.h"
#include "glib/ScopedSignal.h"
#include "glib/Timeout.h"

namespace plintor {

struct KioskState;
class Desktop;
class PowerActions;
class SystemInfo;
class KioskWindow;

// What the kiosk does without a visitor: the guard tick (daily restart, keyboard, screen
// guard) while something needs watching, the housekeeping tick (daily restart, idle return,
// foreign windows, shell) when something is due, the first home page, the power actions of the
// shutdown panel (asked in the background), the recovery of a page whose web process failed, and
// the end of the program. At rest, with nothing shown that changes and nothing due, no timer wakes
// the program.
class KioskController final : public RoutedActions {
public:
    KioskController(KioskState& state, KioskWindow& window, PowerActions& power,
                    const SystemInfo& system);
    KioskController(const KioskController&) = delete;
    KioskController& operator=(const KioskController&) = delete;
    ~KioskController();

    // The desktop, when there is one (it may come late, see DesktopLockdown).
    void setDesktop(Desktop* desktop);
    // Starts the ticks.
    void start();
    // The home page opens once, when the window is first shown; both ticks run at once then.
    void openHomeOnce() override;
    // Ends the program after the current event: the ticks stop and the loop ends.
    void quit() override;
    void navigate(const std::string& address) override;
    void hideScreensaver() override;

    // The window's events that are the controller's to answer.
    void keyboardToggled();
    void rendererEnded(const std::string& reason) { m_recovery.rendererEnded(reason); }
    void rendererUnresponsive() { m_recovery.rendererUnresponsive(); }

private:
    static void onActiveChanged(GObject* window, GParamSpec* property, gpointer self);
    void housekeepingTick();
    // The guard tick runs only while the touch keyboard is shown (its layout may change) or the
    // desktop has to be asked for changes.
    void updateGuardTick();
    // The housekeeping tick for when its next work is due; none when nothing is.
    void scheduleHousekeeping();
    void inputCame();
    void powerActionConfirmed(ShutdownPanel::Action action);
    void powerAnswered(PowerRequest what, bool accepted);

    KioskState& m_state;
    KioskWindow& m_window;
    PowerRequests m_power;
    ScreenGuard m_screenGuard;
    VisitorSession m_visitor;
    SystemActions m_system;
    UnattendedOperation m_unattended;
    PageRecovery m_recovery;
    Timeout m_guardTick;
    // What the housekeeping was last planned for: a new visit brings its end nearer, a return
    // warning taken away by input brings the next one nearer.
    struct PlannedFor {
        std::optional<InputActivity::TimePoint> visit;
        bool warningShowing = false;
        bool operator==(const PlannedFor&) const = default;
    };
    PlannedFor plannedFor() const;
    PlannedFor m_plannedFor;
    Timeout m_housekeepingTick;
    ScopedSignal m_activeChanged;
};

}  // namespace plintor
