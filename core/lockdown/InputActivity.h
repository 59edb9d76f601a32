#pragma once

#include <functional>

#include "core/support/Clock.h"
#include "core/support/DateTime.h"

namespace plintor {

// The visitor's input as the idle return sees it: every key, pointer and touch input is
// recorded with the time; the idle return disarms it until the next input.
class InputActivity {
public:
    explicit InputActivity(const Clock& clock)
        : m_clock(clock), m_lastInput(clock.now()), m_lastRecorded(m_lastInput) {}

    // An input came now; while the screensaver page is shown, the screensaver is told.
    void record();
    // No idle period is counted until the next input.
    void disarm() { m_lastInput = 0; }
    // True when at least `minutes` whole minutes passed since the last input.
    bool idleMinutesReached(int minutes) const;
    DateTime lastInput() const { return m_lastInput; }
    // The last input (or the start), disarmed or not: what an operator asks for.
    DateTime lastRecorded() const { return m_lastRecorded; }

    // The screensaver page covers the window: the next input goes to `hide` (once).
    void screensaverShown(std::function<void()> hide) { m_hideScreensaver = std::move(hide); }
    bool screensaverShowing() const { return static_cast<bool>(m_hideScreensaver); }

private:
    const Clock& m_clock;
    DateTime m_lastInput;
    DateTime m_lastRecorded;
    std::function<void()> m_hideScreensaver;
};

}  // namespace plintor
