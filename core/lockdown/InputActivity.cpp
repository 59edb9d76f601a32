#include "core/lockdown/InputActivity.h"

#include <cmath>
#include <utility>

namespace plintor {

void TInputActivity::Record() {
    FLastInput = FClock.Now();
    if (FHideScreensaver) {
        std::exchange(FHideScreensaver, nullptr)();
    }
}

bool TInputActivity::IdleMinutesReached(int minutes) const {
    if (FLastInput == 0 || minutes <= 0) {
        return false;
    }
    // Counted in whole milliseconds, so day-count rounding never costs a minute.
    const long long milliseconds = std::llround((FClock.Now() - FLastInput) * MillisecondsPerDay);
    return milliseconds / 60000 >= minutes;
}

}  // namespace plintor
