#include "core/app/UnattendedOperation.h"

#include "core/config/Settings.h"
#include "core/lockdown/InputActivity.h"
#include "core/support/Clock.h"
#include "core/support/Log.h"

namespace plintor {

void TUnattendedOperation::Timer1Timer() {
    if (Settings.AutoRestart != -1 && CurrentClock().Now() > NextRestartTime &&
        FHost.WindowsRestart()) {
        FHost.QuitApplication();
    }
    FHost.UpdateTouchKeyboard();
    FHost.GuardScreen();
}

void TUnattendedOperation::Timer2Timer() {
    if (IdleMinutesReached(Settings.AutoReturn)) {
        ReturnToHomePage();
    }
    if (Settings.AutoCloseAll) {
        FHost.CloseForeignWindows();
    }
    if (Settings.KillExplorer && FHost.StopShell()) {
        LogEntry("Kill explorer");
    }
}

void TUnattendedOperation::ReturnToHomePage() {
    RecordInputActivity(0);
    FHost.GoHome();
    if (FHost.KeyboardShown()) {
        FHost.ToggleKeyboard();
    }
    FHost.LeaveWheelchairMode();
    LogEntry("Return to home page");
    if (!Settings.Screensaver.empty()) {
        ScreensaverShown = true;
        FHost.ShowScreensaver(Settings.Screensaver);
    }
}

}  // namespace plintor
