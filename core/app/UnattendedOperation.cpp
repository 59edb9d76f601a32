#include "core/app/UnattendedOperation.h"

#include "core/support/Log.h"

namespace plintor {

void TUnattendedOperation::Timer1Timer() {
    const TSettings& settings = FState.Settings;
    if (settings.AutoRestart != -1 && FState.Clock.Now() > FState.NextRestartTime &&
        FHost.WindowsRestart()) {
        FHost.QuitApplication();
    }
    FHost.UpdateTouchKeyboard();
    FHost.GuardScreen();
}

void TUnattendedOperation::Timer2Timer() {
    const TSettings& settings = FState.Settings;
    if (FState.Input.IdleMinutesReached(settings.AutoReturn)) {
        ReturnToHomePage();
    }
    if (settings.AutoCloseAll) {
        FHost.CloseForeignWindows();
    }
    if (settings.KillExplorer && FHost.StopShell()) {
        FLog.Entry("Kill explorer");
    }
}

void TUnattendedOperation::ReturnToHomePage() {
    FState.Input.Disarm();
    FHost.GoHome();
    if (FHost.KeyboardShown()) {
        FHost.ToggleKeyboard();
    }
    FHost.LeaveWheelchairMode();
    FLog.Entry("Return to home page");
    if (!FState.Settings.Screensaver.empty()) {
        FState.Input.ScreensaverShown([this] { FHost.HideScreensaver(); });
        FHost.ShowScreensaver(FState.Settings.Screensaver);
    }
}

}  // namespace plintor
