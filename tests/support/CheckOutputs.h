#pragma once

namespace plintor::test {

// What --check-config prints for a home folder without any file: every setting's default and
// the one home button. The same on every system.
inline constexpr char DefaultSettingsOutput[] =
    "Password=7395\nNavigationPanel=True\nTouchKeyboard=True\nTouchKeyboardOnTop=False\n"
    "TouchKeyboardSize=100\nTouchKeyboardLayout=Standard\nDisplayAlwaysOn=True\n"
    "AutoReturn=10\nAutoRestart=-1\nDownloadPDF=False\nDownloadWord=False\n"
    "ConvertWordToPDF=False\nWheelchair=0\nMsgBlocked=\nAutoCloseAll=False\n"
    "KillExplorer=True\nProgressIndicator=False\nMarginRight=0\nBackgroundColor=\n"
    "Screensaver=\nDenyAllRequests=True\nClearSessionOnReturn=True\nReturnWarning=30\n"
    "MsgReturnWarning=Are you still there? This page returns to the start in %d s\n"
    "MemoryLimitMB=0\n"
    "KeyboardOnFocus=1\nZoomButtons=False\nZoomMin=50\nZoomMax=300\nPinchZoom="
    "True\nBlockedHintSeconds=8\nMsgLoadError=This page cannot be shown at the "
    "moment.\nRetrySeconds=30\nSessionMinutes=0\nMsgSessionEnd=Your time at this terminal ends in "
    "%d s\nMetricsFile=\n"
    "Button=120||about:blank\n";

}  // namespace plintor::test
