#pragma once

#include <string>
#include <vector>

#include "core/config/Settings.h"
#include "core/documents/DownloadRules.h"
#include "core/lockdown/InputActivity.h"
#include "core/support/Clock.h"

namespace plintor {

// The one state of a running kiosk: made by the program at start and handed by reference to
// the parts that read or change it.
struct TKioskState {
    explicit TKioskState(const IClock& clock) : Clock(clock), Input(clock) {}

    const IClock& Clock;
    TSettings Settings;
    std::vector<TNavButton> Buttons{DefaultHomeButton(96)};
    std::string ProgramVersion;
    bool SafeWebBrowserMode = false;  // set before the window exists
    bool HomePending = true;          // cleared once, when the home page first opens
    bool QuitRequested = false;       // by QuitApplication only
    TInputActivity Input;
    TTempFiles TempFiles;
    bool PdfViewer =
        false;  // the browser shows PDF documents itself (with the viewer's parameters)
    TDateTime NextRestartTime = 0;  // meaningful only while Settings.AutoRestart is not -1
};

}  // namespace plintor
