#pragma once

#include <functional>

#include "core/app/KioskMessage.h"
#include "core/support/DateTime.h"

namespace plintor {

// The time of the visitor's last input; 0 after an idle return until the next input.
extern TDateTime LastInputTime;

// Where input while the screensaver page is shown is reported (as WM_HIDESCREENSAVER), and
// whether it is shown now. Set by the main window.
extern std::function<void(const TKioskMessage&)> ScreensaverWindow;
extern bool ScreensaverShown;

// Every key, pointer and touch input comes here with the current time; the idle return
// records 0, which disarms the idle test until the next input.
void RecordInputActivity(TDateTime time);

// True when at least `minutes` whole minutes passed since the last input.
bool IdleMinutesReached(int minutes);

}  // namespace plintor
