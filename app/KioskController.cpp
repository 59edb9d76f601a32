#include "app/KioskController.h"

#include "app/KioskWindow.h"
#include "app/ReturnWarning.h"
#include "browser/EngineVersion.h"
#include "browser/RestrictedBrowser.h"
#include "core/app/KioskState.h"

namespace plintor {

KioskController::KioskController(KioskState& state, KioskWindow& window, PowerActions& power,
                                 const SystemInfo& system)
    : m_state(state),
      m_window(window),
      m_power(power, state.steady,
              [this](PowerRequest what, bool accepted) { powerAnswered(what, accepted); }),
      m_screenGuard(window,
                    [this] {
                        m_unattended.lookAfterDesktop();
                        scheduleHousekeeping();
                    }),
      m_visitor(state, window),
      m_system(
          state, m_power, system, EngineLibraryName, m_screenGuard, [this] { quit(); },
          [this] {
              m_unattended.lookAfterDesktop();
              scheduleHousekeeping();
          }),
      m_unattended(state, m_visitor, window, m_system),
      m_recovery(state, [this] { m_unattended.homePageInNewSession(); }),
      m_guardTick([this] { m_unattended.guardTick(); }, true),
      m_housekeepingTick([this] { housekeepingTick(); }),
      m_activeChanged(window.window(), "notify::is-active",
                      G_CALLBACK(&KioskController::onActiveChanged), this) {
    m_state.input.setListener([this] { inputCame(); });
    window.shutdownPanel().onConfirmed(
        [this](ShutdownPanel::Action action) { powerActionConfirmed(action); });
    ReturnWarning& warning = window.returnWarning();
    warning.onExpired([this] { m_unattended.returnWhenDue(); });
    warning.onContinued([this] {
        m_state.input.recordTouch();
        m_window.hideReturnWarning();  // the notice of a visit's end stays through other input
    });
}

KioskController::~KioskController() {
    m_state.input.setListener(nullptr);
}

void KioskController::setDesktop(Desktop* desktop) {
    m_screenGuard.setDesktop(desktop);
    updateGuardTick();
    scheduleHousekeeping();
}

void KioskController::start() {
    updateGuardTick();
    scheduleHousekeeping();
}

void KioskController::navigate(const std::string& address) {
    m_window.browser().navigate(address);
}

void KioskController::hideScreensaver() {
    m_window.hideScreensaver();
}

void KioskController::quit() {
    m_guardTick.stop();
    m_housekeepingTick.stop();
    m_screenGuard.stop();
    m_state.quitRequested = true;
}

void KioskController::keyboardToggled() {
    updateGuardTick();
}

void KioskController::openHomeOnce() {
    if (!m_state.homePending) {
        return;
    }
    m_visitor.goHome();
    m_state.homePending = false;
    m_unattended.guardTick();
    housekeepingTick();
}

void KioskController::housekeepingTick() {
    m_unattended.housekeepingTick();
    updateGuardTick();
    scheduleHousekeeping();
}

void KioskController::scheduleHousekeeping() {
    if (m_state.quitRequested) {
        return;
    }
    m_plannedFor = plannedFor();
    const long long next =
        m_unattended.millisecondsToNextHousekeeping(m_screenGuard.desktopReportsChanges());
    if (next < 0) {
        m_housekeepingTick.stop();
    } else {
        m_housekeepingTick.start(next);
    }
}

// The first input after a return arms the idle time again; later ones only move it on, which
// the tick finds out when it comes.
void KioskController::inputCame() {
    if (!m_housekeepingTick.isActive() || plannedFor() != m_plannedFor) {
        scheduleHousekeeping();
    }
    m_window.browser().visitorActive();
}

KioskController::PlannedFor KioskController::plannedFor() const {
    return {m_state.input.visitStart(), m_state.input.returnWarningShowing()};
}

void KioskController::updateGuardTick() {
    if (m_state.quitRequested) {
        return;
    }
    const bool asking =
        m_screenGuard.desktop() != nullptr && !m_screenGuard.desktopReportsChanges();
    if (!m_window.keyboardShown() && !asking) {
        m_guardTick.stop();
    } else if (!m_guardTick.isActive()) {
        m_guardTick.start(UnattendedOperation::GuardTickIntervalMs);
    }
}

void KioskController::powerActionConfirmed(ShutdownPanel::Action action) {
    switch (action) {
        case ShutdownPanel::Action::ShutDown:
            m_power.request(PowerRequest::ShutDown);
            break;
        case ShutdownPanel::Action::Restart:
            m_power.request(PowerRequest::Restart);
            break;
        case ShutdownPanel::Action::LogOff:
            m_power.request(PowerRequest::LogOff);
            break;
        case ShutdownPanel::Action::Exit:
            quit();
            break;
    }
}

// A refused daily restart is asked again when the wait after the refusal is over.
void KioskController::powerAnswered(PowerRequest what, bool accepted) {
    m_system.powerAnswered(what, accepted);
    scheduleHousekeeping();
}

// Another window took the focus: the guard wins it back at once.
void KioskController::onActiveChanged(GObject* window, GParamSpec*, gpointer self) {
    if (!gtk_window_is_active(GTK_WINDOW(window))) {
        static_cast<KioskController*>(self)->m_unattended.guardTick();
    }
}

}  // namespace plintor
