#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/app/DailyRestart.h"
#include "core/app/KioskCounters.h"
#include "core/config/KioskSettings.h"
#include "core/documents/DocumentFolder.h"
#include "core/documents/DownloadRules.h"
#include "core/lockdown/InputActivity.h"
#include "core/support/Clock.h"

namespace plintor {

// The one state of a running kiosk: made by the program at start and handed by reference to
// the parts that read or change it.
struct KioskState {
    // `clock` tells the date and time of day; `steady` measures waits, which setting the clock
    // must not stretch or cut.
    explicit KioskState(const Clock& clock, const MonotonicClock& steady = steadyClock())
        : clock(clock), steady(steady), input(steady), dailyRestart(clock, steady) {}

    const Clock& clock;
    const MonotonicClock& steady;
    KioskSettings settings;
    std::vector<NavButton> buttons{defaultHomeButton(96)};
    std::string programVersion;
    bool safeWebBrowserMode = false;  // set before the window exists
    bool homePending = true;          // cleared once, when the home page first opens
    bool quitRequested = false;       // by quitApplication only
    bool restartRequested = false;    // with the quit: the program starts afresh after it
    InputActivity input;
    DocumentFolder documentFolder;
    TempFiles tempFiles;  // in documentFolder
    // The browser shows PDF documents itself (with the viewer's parameters).
    bool pdfViewer = false;
    DailyRestart dailyRestart;            // scheduled while Settings.AutoRestart is set
    std::optional<LocalTime> lastReturn;  // the last return to the home page; none before the first
    KioskCounters counters;
};

}  // namespace plintor
