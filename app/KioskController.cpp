#include "app/KioskController.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDate>

#include "app/KioskWindow.h"
#include "app/ReturnWarning.h"
#include "app/ShutdownPanel.h"
#include "browser/RestrictedBrowser.h"
#include "core/app/KioskState.h"
#include "core/app/QuitToken.h"
#include "core/documents/DownloadRules.h"
#include "core/support/Log.h"
#include "platform/DesktopControl.h"
#include "platform/PowerActions.h"
#include "platform/SystemInfo.h"

namespace plintor {
namespace {

// Guard passes that keep changing the desktop (a window manager that fights over the front)
// are spaced out from this many on.
constexpr int GuardPassesBeforeSpacing = 8;

}  // namespace

KioskController::KioskController(KioskState& state, KioskWindow& window, PowerActions& power,
                                 const SystemInfo& system)
    : m_state(state),
      m_window(window),
      m_power(power),
      m_system(system),
      m_unattended(state, *this),
      m_recovery(state.clock) {
    connect(&m_guardTick, &QTimer::timeout, this, [this] { m_unattended.guardTick(); });
    m_housekeepingTick.setSingleShot(true);
    m_housekeepingTick.setTimerType(Qt::PreciseTimer);
    connect(&m_housekeepingTick, &QTimer::timeout, this, &KioskController::housekeepingTick);
    m_state.input.setListener([this] { inputCame(); });
    m_desktopCheck.setSingleShot(true);
    connect(&m_desktopCheck, &QTimer::timeout, this, &KioskController::lookAtDesktopChanges);
    connect(&window, &KioskWindow::firstShown, this, &KioskController::openHomeOnce);
    connect(&window, &KioskWindow::keyboardToggled, this, &KioskController::updateGuardTick);
    connect(&window.shutdownPanel(), &ShutdownPanel::confirmed, this,
            [this](ShutdownPanel::Action action) { powerActionConfirmed(action); });
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &KioskController::applicationStateChanged);

    ReturnWarning& warning = window.returnWarning();
    connect(&warning, &ReturnWarning::expired, this, [this] { m_unattended.returnWhenIdle(); });
    connect(&warning, &ReturnWarning::continued, this, [this] { m_state.input.recordTouch(); });

    RestrictedBrowser& browser = window.browser();
    connect(&browser, &RestrictedBrowser::rendererEnded, this,
            [this](const QString& reason, int exitCode) {
                logEntry("Renderer ended: " + reason.toStdString() + ", exit code " +
                         std::to_string(exitCode));
                recoverLater();
            });
    connect(&browser, &RestrictedBrowser::rendererUnresponsive, this, [this] {
        logEntry("Renderer unresponsive");
        recoverLater();
    });
    m_recoveryDelay.setSingleShot(true);
    connect(&m_recoveryDelay, &QTimer::timeout, this, &KioskController::recoverRenderer);
}

KioskController::~KioskController() {
    m_state.input.setListener(nullptr);
}

void KioskController::setDesktopControl(DesktopControl* desktop) {
    m_desktop = desktop;
    m_desktopChanges.reset();
    if (m_desktop != nullptr && m_desktop->changeDescriptor() >= 0) {
        m_desktopChanges =
            std::make_unique<QSocketNotifier>(m_desktop->changeDescriptor(), QSocketNotifier::Read);
        connect(m_desktopChanges.get(), &QSocketNotifier::activated, this,
                &KioskController::lookAtDesktopChanges);
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                m_desktopChanges.get(), [this] { lookAtQueuedDesktopChanges(); });
    }
    updateGuardTick();
    scheduleHousekeeping();
}

void KioskController::start() {
    m_guardTick.setInterval(UnattendedOperation::GuardTickIntervalMs);
    updateGuardTick();
    scheduleHousekeeping();
}

void KioskController::quit() {
    m_guardTick.stop();
    m_housekeepingTick.stop();
    m_desktopCheck.stop();
    m_desktopChanges.reset();
    m_state.quitRequested = true;
    QCoreApplication::exit(0);
}

void KioskController::handleMessage(const KioskMessage& message) {
    switch (message.msg) {
        case WM_COPYDATA:
            m_window.browser().navigate(QString::fromStdString(message.text));
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
    const long long next = m_unattended.millisecondsToNextHousekeeping(m_desktopChanges != nullptr);
    if (next < 0) {
        m_housekeepingTick.stop();
    } else {
        m_housekeepingTick.start(static_cast<int>(next));
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
    const bool asking = m_desktop != nullptr && m_desktopChanges == nullptr;
    const bool restartRefused = m_unattended.millisecondsToRestart() == 0;
    if (!m_window.keyboardShown() && !asking && !restartRefused) {
        m_guardTick.stop();
    } else if (!m_guardTick.isActive()) {
        m_guardTick.start();
    }
}

void KioskController::lookAtDesktopChanges() {
    if (m_desktop == nullptr || m_state.quitRequested) {
        return;
    }
    if (!m_desktop->takeChanges()) {
        m_guardPassesInARow = 0;
        return;
    }
    ++m_guardPassesInARow;
    guardScreen();
    m_unattended.lookAfterDesktop();
    scheduleHousekeeping();
}

// Reports that came in with the answers to other requests leave nothing on the descriptor to
// wake the notifier: they are looked at before the program sleeps, through the guard's own
// spacing.
void KioskController::lookAtQueuedDesktopChanges() {
    if (m_desktop != nullptr && !m_desktopCheck.isActive() && m_desktop->changesQueued()) {
        m_desktopCheck.start(0);
    }
}

void KioskController::remoteQuit(std::int32_t wParam, std::int32_t lParam) {
    const QDate today = QDate::currentDate();
    if (checkQuitToken(wParam, lParam, today.year(), today.month(), today.day())) {
        quit();
    }
}

void KioskController::powerActionConfirmed(int action) {
    switch (action) {
        case ShutdownPanel::ShutDown:
            m_power.shutDown(true);
            break;
        case ShutdownPanel::Restart:
            m_power.restart(true);
            break;
        case ShutdownPanel::LogOff:
            m_power.logOff(true);
            break;
        case ShutdownPanel::Exit:
            quit();
            break;
        default:
            break;
    }
}

// Another window took the focus: the guard tick wins it back at once.
void KioskController::applicationStateChanged(Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive) {
        m_unattended.guardTick();
    }
}

void KioskController::recoverLater() {
    if (m_recoveryDelay.isActive()) {
        return;  // one recovery for a renderer that both hung and ended
    }
    const int delay = m_recovery.delayAfterEnd();
    if (delay == RendererRecovery::SlowDelayMs) {
        logEntry("Renderer ended " + std::to_string(m_recovery.recentEnds()) + " times in " +
                 std::to_string(RendererRecovery::WindowMinutes) + " minutes; next attempt in " +
                 std::to_string(delay / 1000) + " s");
    }
    m_recoveryDelay.start(delay);
}

// A fresh session also ends a renderer that no longer answers: the engine ends the processes
// of a profile that goes.
void KioskController::recoverRenderer() {
    ++m_state.rendererRestarts;
    m_unattended.homePageInNewSession();
}

void KioskController::goHome() {
    m_window.hideShutdownPanel();
    if (!m_state.buttons.empty()) {
        m_window.browser().navigateHome(QString::fromStdString(m_state.buttons.front().url));
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
    m_window.returnWarning().start(QString::fromStdString(m_state.settings.msgReturnWarning),
                                   millisecondsLeft);
}

// Input reaches the activity record in the middle of the input hooks' processing: the notice
// goes after it.
void KioskController::hideReturnWarning() {
    QMetaObject::invokeMethod(
        this, [this] { m_window.returnWarning().stop(); }, Qt::QueuedConnection);
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

// Input reaches the activity record from the input hooks, in the middle of their processing:
// the page is hidden after it.
void KioskController::hideScreensaver() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            handleMessage({WM_HIDESCREENSAVER, 0, 0, {}});
        },
        Qt::QueuedConnection);
}

void KioskController::updateTouchKeyboard() {
    m_window.updateTouchKeyboard();
}

void KioskController::guardScreen() {
    if (m_desktop == nullptr || !m_window.isVisible()) {
        return;
    }
    m_desktopCheck.start(m_guardPassesInARow < GuardPassesBeforeSpacing
                             ? 0
                             : UnattendedOperation::GuardTickIntervalMs);
    try {
        const unsigned long window = m_window.winId();
        if (m_desktop->isScreensaverRunning()) {
            m_desktop->setTopmost(window, false);
            m_desktop->lowerWindow(window);
            return;
        }
        // The blocked hint and the page's own pop-ups (a list box that is open) must stay above.
        if (!m_window.browser().showingBlockedHint() &&
            QApplication::activePopupWidget() == nullptr) {
            m_desktop->setTopmost(window, true);
        }
        if (m_desktop->foreignWindowInFront()) {
            m_desktop->bringWindowToFront(window);
        }
    } catch (const std::exception& error) {
        logEntry("Screen blocking error");
        logException(error);
    }
}

bool KioskController::restartComputer() {
    return m_power.restart(true);
}

void KioskController::quitApplication() {
    quit();
}

bool KioskController::closeForeignWindows() {
    return m_desktop == nullptr || m_desktop->closeForeignWindows();
}

bool KioskController::stopShell() {
    return m_desktop != nullptr && m_desktop->stopShell();
}

}  // namespace plintor
