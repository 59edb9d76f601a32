#include "core/lockdown/InputActivity.h"

#include <cmath>

#include "core/support/Clock.h"

namespace plintor {

TDateTime LastInputTime = CurrentClock().Now();
std::function<void(const TKioskMessage&)> ScreensaverWindow;
bool ScreensaverShown = false;

void RecordInputActivity(TDateTime time) {
    LastInputTime = time;
    if (time != 0 && ScreensaverWindow && ScreensaverShown) {
        ScreensaverWindow({WM_HIDESCREENSAVER, 0, 0, {}});
    }
}

bool IdleMinutesReached(int minutes) {
    if (LastInputTime == 0 || minutes <= 0) {
        return false;
    }
    // Counted in whole milliseconds, so day-count rounding never costs a minute.
    const long long milliseconds =
        std::llround((CurrentClock().Now() - LastInputTime) * MillisecondsPerDay);
    return milliseconds / 60000 >= minutes;
}

}  // namespace plintor
