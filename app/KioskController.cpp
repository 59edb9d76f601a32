#include "app/KioskController.h"

#include <ctime>

#include "core/app/KioskState.h"
#include "core/app/QuitToken.h"
#include "core/documents/DownloadRules.h"
#include "core/support/Log.h"
#include "app/KioskWindow.h"
#include "app/ReturnWarning.h"
#include "browser/EngineVersion.h"
#include "browser/RestrictedBrowser.h"
#include "platform/DesktopControl.h"
#include "platform/PowerActions.h"
#include "platform/SystemInfo.h"

namespace plintor {

KioskController::KioskController(KioskState& state, KioskWindow& window, PowerActions& power,
                                 const SystemInfo& system)
    : m_state(state),
      m_window(window),
      m_power(power),
      m_system(system),
      m_unattended(state, *this),
      m_screenGuard(window,
                    [this] {
                        m_unattended.lookAfterDesktop();
                        scheduleHousekeeping();
                    }),
      m_guardTick([this] { m_unattended.guardTick(); }, true),
      m_housekeepingTick([this] { housekeepingTick(); }),
      m_hideWarningLater([this] { m_window.returnWarning().stop(); }),
      m_hideScreensaverLater([this] { handleMessage({WM_HIDESCREENSAVER, 0, 0, {}}); }),
      m_recovery(state.clock),
      m_recoveryDelay([this] { recoverRenderer(); }),
      m_activeChanged(window.window(), "notify::is-active",
                      G_CALLBACK(&KioskController::onActiveChanged), this) {
    m_state.input.setListener([this] { inputCame(); });
    window.shutdownPanel().onConfirmed(
        [this](ShutdownPanel::Action action) { powerActionConfirmed(action); });
    ReturnWarning& warning = window.returnWarning();
    warning.onExpired([this] { m_unattended.returnWhenIdle(); });
    warning.onContinued([this] { m_state.input.recordTouch(); });
}

KioskController::~KioskController() {
    m_state.input.setListener(nullptr);
}

void KioskController::setDesktopControl(DesktopControl* desktop) {
    m_screenGuard.setDesktopControl(desktop);
    updateGuardTick();
    scheduleHousekeeping();
}

void KioskController::start() {
    updateGuardTick();
    scheduleHousekeeping();
}

void KioskController::quit() {
    m_guardTick.stop();
    m_housekeepingTick.stop();
    m_screenGuard.stop();
    m_state.quitRequested = true;
}

void KioskController::handleMessage(const KioskMessage& message) {
    switch (message.msg) {
        case WM_COPYDATA:
            m_window.browser().navigate(message.text);
            break;
        case WM_REMOTEQUIT:
            remoteQuit(message.wParam, message.lParam);
            break;
        case WM_STARTHOME:
            openHomeOnce();
            break;
        case WM_HIDESCREENSAVER:
            m_window.hideScreensaver();
            break;
        default:
            break;
    }
}

void KioskController::windowShown() {
    openHomeOnce();
}

void KioskController::keyboardToggled() {
    updateGuardTick();
}

// The home page opens once, when the window is first shown; both ticks run at once then.
void KioskController::openHomeOnce() {
    if (!m_state.homePending) {
        return;
    }
    goHome();
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
    if (!m_housekeepingTick.isActive()) {
        scheduleHousekeeping();
    }
    m_window.browser().visitorActive();
}

void KioskController::updateGuardTick() {
    if (m_state.quitRequested) {
        return;
    }
    const bool asking = m_screenGuard.desktop() != nullptr && !m_screenGuard.desktopReportsChanges();
    const bool restartRefused = m_unattended.millisecondsToRestart() == 0;
    if (!m_window.keyboardShown() && !asking && !restartRefused) {
        m_guardTick.stop();
    } else if (!m_guardTick.isActive()) {
        m_guardTick.start(UnattendedOperation::GuardTickIntervalMs);
    }
}

void KioskController::remoteQuit(std::int32_t wParam, std::int32_t lParam) {
    const std::time_t now = std::time(nullptr);
    std::tm today{};
    localtime_r(&now, &today);
    if (checkQuitToken(wParam, lParam, today.tm_year + 1900, today.tm_mon + 1, today.tm_mday)) {
        quit();
    }
}

void KioskController::powerActionConfirmed(ShutdownPanel::Action action) {
    switch (action) {
        case ShutdownPanel::Action::ShutDown:
            m_power.shutDown(true);
            break;
        case ShutdownPanel::Action::Restart:
            m_power.restart(true);
            break;
        case ShutdownPanel::Action::LogOff:
            m_power.logOff(true);
            break;
        case ShutdownPanel::Action::Exit:
            quit();
            break;
    }
}

// Another window took the focus: the guard wins it back at once.
void KioskController::onActiveChanged(GObject* window, GParamSpec*, gpointer self) {
    if (!gtk_window_is_active(GTK_WINDOW(window))) {
        static_cast<KioskController*>(self)->m_unattended.guardTick();
    }
}

void KioskController::rendererEnded(const std::string& reason) {
    // The engine does not say how its process ended beyond the reason.
    logEntry("Renderer ended: " + reason + ", exit code -1");
    recoverLater();
}

void KioskController::rendererUnresponsive() {
    logEntry("Renderer unresponsive");
    recoverLater();
}

void KioskController::recoverLater() {
    if (m_recoveryDelay.isActive()) {
        return;  // one recovery for a web process that both hung and ended
    }
    const int delay = m_recovery.delayAfterEnd();
    if (delay == RendererRecovery::SlowDelayMs) {
        logEntry("Renderer ended " + std::to_string(m_recovery.recentEnds()) + " times in " +
                 std::to_string(RendererRecovery::WindowMinutes) + " minutes; next attempt in " +
                 std::to_string(delay / 1000) + " s");
    }
    m_recoveryDelay.start(delay);
}

// A fresh session ends the page's web process too, one that no longer answers included.
void KioskController::recoverRenderer() {
    ++m_state.rendererRestarts;
    m_unattended.homePageInNewSession();
}

void KioskController::goHome() {
    m_window.hideShutdownPanel();
    if (!m_state.buttons.empty()) {
        m_window.browser().navigateHome(m_state.buttons.front().url);
    }
}

bool KioskController::homePageUnchanged() const {
    return m_window.browser().homePageUnchanged();
}

void KioskController::clearSession() {
    m_window.browser().startNewSession();
    deleteTempFiles(m_state.tempFiles);
}

void KioskController::showReturnWarning(long long millisecondsLeft) {
    m_window.returnWarning().start(m_state.settings.msgReturnWarning, millisecondsLeft);
}

void KioskController::hideReturnWarning() {
    m_hideWarningLater.start(0);
}

long long KioskController::memoryKiB() const {
    return m_system.processTreeMemoryKiB();
}

void KioskController::renewPage() {
    m_window.browser().renewPage();
}

bool KioskController::keyboardShown() const {
    return m_window.keyboardShown();
}

void KioskController::toggleKeyboard() {
    m_window.toggleKeyboard();
}

void KioskController::leaveWheelchairMode() {
    m_window.leaveWheelchairMode();
}

void KioskController::showScreensaver(const std::string& address) {
    m_window.showScreensaver(address);
}

void KioskController::hideScreensaver() {
    m_hideScreensaverLater.start(0);
}

void KioskController::updateTouchKeyboard() {
    m_window.updateTouchKeyboard();
}

void KioskController::guardScreen() {
    m_screenGuard.guardScreen();
}

bool KioskController::restartComputer() {
    return m_power.restart(true);
}

void KioskController::quitApplication() {
    quit();
}

bool KioskController::closeForeignWindows() {
    return m_screenGuard.desktop() == nullptr || m_screenGuard.desktop()->closeForeignWindows();
}

bool KioskController::engineReplaced() const {
    return m_system.libraryReplaced(EngineLibraryName);
}

void KioskController::restartProgram() {
    m_state.restartRequested = true;
    quit();
}

bool KioskController::stopShell() {
    return m_screenGuard.desktop() != nullptr && m_screenGuard.desktop()->stopShell();
}

}  // namespace plintor
