#include "app/KioskController.h"

#include <QApplication>
#include <QDate>

#include "app/KioskWindow.h"
#include "app/ShutdownPanel.h"
#include "browser/TSafeWebBrowser.h"
#include "core/app/KioskState.h"
#include "core/app/QuitToken.h"
#include "core/support/Log.h"
#include "platform/DesktopControl.h"
#include "platform/PowerActions.h"

namespace plintor {

TKioskController::TKioskController(TKioskState& state, TKioskWindow& window, IPowerActions& power)
    : FState(state), FWindow(window), FPower(power), FUnattended(state, *this) {
    connect(&FGuardTick, &QTimer::timeout, this, [this] { FUnattended.Timer1Timer(); });
    connect(&FHousekeepingTick, &QTimer::timeout, this, [this] { FUnattended.Timer2Timer(); });
    connect(&window, &TKioskWindow::firstShown, this, &TKioskController::OpenHomeOnce);
    connect(&window.ShutdownPanel(), &TShutdownPanel::confirmed, this,
            [this](TShutdownPanel::TAction action) { PowerActionConfirmed(action); });
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &TKioskController::ApplicationStateChanged);
}

void TKioskController::Start() {
    FGuardTick.start(TUnattendedOperation::Timer1IntervalMs);
    FHousekeepingTick.start(TUnattendedOperation::Timer2IntervalMs);
}

void TKioskController::Quit() {
    FGuardTick.stop();
    FHousekeepingTick.stop();
    FState.QuitRequested = true;
    QCoreApplication::exit(0);
}

void TKioskController::HandleMessage(const TKioskMessage& message) {
    switch (message.Msg) {
        case WM_COPYDATA:
            FWindow.Browser().Navigate(QString::fromStdString(message.Text));
            break;
        case WM_REMOTEQUIT:
            RemoteQuit(message.WParam, message.LParam);
            break;
        case WM_STARTHOME:
            OpenHomeOnce();
            break;
        case WM_HIDESCREENSAVER:
            FWindow.HideScreensaver();
            break;
        default:
            break;
    }
}

// The home page opens once, when the window is first shown; both ticks run at once then.
void TKioskController::OpenHomeOnce() {
    if (!FState.HomePending) {
        return;
    }
    GoHome();
    FState.HomePending = false;
    FUnattended.Timer1Timer();
    FUnattended.Timer2Timer();
}

void TKioskController::RemoteQuit(std::int32_t wParam, std::int32_t lParam) {
    const QDate today = QDate::currentDate();
    if (CheckQuitToken(wParam, lParam, today.year(), today.month(), today.day())) {
        Quit();
    }
}

void TKioskController::PowerActionConfirmed(int action) {
    switch (action) {
        case TShutdownPanel::ShutDown:
            FPower.WindowsShutDown(true);
            break;
        case TShutdownPanel::Restart:
            FPower.WindowsRestart(true);
            break;
        case TShutdownPanel::LogOff:
            FPower.WindowsLogOff(true);
            break;
        case TShutdownPanel::Exit:
            Quit();
            break;
        default:
            break;
    }
}

// Another window took the focus: the guard tick wins it back at once.
void TKioskController::ApplicationStateChanged(Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive) {
        FUnattended.Timer1Timer();
    }
}

void TKioskController::GoHome() {
    FWindow.OpenNavButton(1);
}

bool TKioskController::KeyboardShown() const {
    return FWindow.KeyboardShown();
}

void TKioskController::ToggleKeyboard() {
    FWindow.ToggleKeyboard();
}

void TKioskController::LeaveWheelchairMode() {
    FWindow.LeaveWheelchairMode();
}

void TKioskController::ShowScreensaver(const std::string& address) {
    FWindow.ShowScreensaver(address);
}

// Input reaches the activity record from the input hooks, in the middle of their processing:
// the page is hidden after it.
void TKioskController::HideScreensaver() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            HandleMessage({WM_HIDESCREENSAVER, 0, 0, {}});
        },
        Qt::QueuedConnection);
}

void TKioskController::UpdateTouchKeyboard() {
    FWindow.UpdateTouchKeyboard();
}

void TKioskController::GuardScreen() {
    if (FDesktop == nullptr || !FWindow.isVisible()) {
        return;
    }
    try {
        const unsigned long window = FWindow.winId();
        if (FDesktop->IsScreensaverRunning()) {
            FDesktop->SetTopmost(window, false);
            FDesktop->LowerWindow(window);
            return;
        }
        // The blocked hint and the page's own pop-ups (a list box that is open) must stay above.
        if (!FWindow.Browser().ShowingBlockedHint() &&
            QApplication::activePopupWidget() == nullptr) {
            FDesktop->SetTopmost(window, true);
        }
        if (FDesktop->ForeignWindowInFront()) {
            FDesktop->BringWindowToFront(window);
        }
    } catch (const std::exception& error) {
        LogEntry("Screen blocking error");
        LogException(error);
    }
}

bool TKioskController::WindowsRestart() {
    return FPower.WindowsRestart(true);
}

void TKioskController::QuitApplication() {
    Quit();
}

void TKioskController::CloseForeignWindows() {
    if (FDesktop != nullptr) {
        FDesktop->CloseForeignWindows();
    }
}

bool TKioskController::StopShell() {
    return FDesktop != nullptr && FDesktop->StopShell();
}

}  // namespace plintor
