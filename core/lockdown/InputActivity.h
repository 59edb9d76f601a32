#pragma once

#include <functional>

#include "core/support/Clock.h"
#include "core/support/DateTime.h"

namespace plintor {

// The visitor's input as the idle return sees it: every key, pointer and touch input is
// recorded with the time; the idle return disarms it until the next input.
class TInputActivity {
public:
    explicit TInputActivity(const IClock& clock) : FClock(clock), FLastInput(clock.Now()) {}

    // An input came now; while the screensaver page is shown, the screensaver is told.
    void Record();
    // No idle period is counted until the next input.
    void Disarm() { FLastInput = 0; }
    // True when at least `minutes` whole minutes passed since the last input.
    bool IdleMinutesReached(int minutes) const;
    TDateTime LastInput() const { return FLastInput; }

    // The screensaver page covers the window: the next input goes to `hide` (once).
    void ScreensaverShown(std::function<void()> hide) { FHideScreensaver = std::move(hide); }
    bool ScreensaverShowing() const { return static_cast<bool>(FHideScreensaver); }

private:
    const IClock& FClock;
    TDateTime FLastInput;
    std::function<void()> FHideScreensaver;
};

}  // namespace plintor
