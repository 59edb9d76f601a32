#pragma once

#include <chrono>
#include <functional>
#include <optional>

#include "core/support/Clock.h"

namespace plintor {

// The visitor's input as the idle return sees it: every key, pointer and touch input is
// recorded with the time; the idle return disarms it until the next input. Idle time is
// monotonic time: a clock set back, or a daylight-saving change, neither stretches nor cuts it.
class InputActivity {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    explicit InputActivity(const MonotonicClock& clock)
        : m_clock(clock), m_lastInput(clock.now()), m_lastRecorded(*m_lastInput) {}

    // An input came now; while the screensaver page or the return warning is shown, it is told.
    void record();
    // An input that may change the page came now: a key, a button, the wheel, a touch (a pointer
    // that only moves changes nothing).
    void recordTouch();
    // No idle period is counted until the next input, the page counts as untouched and a
    // return warning is over.
    void disarm();
    // True when at least `minutes` whole minutes passed since the last input.
    bool idleMinutesReached(int minutes) const;
    // Milliseconds since the last input; -1 while disarmed.
    long long idleMilliseconds() const;
    // Whether the visitor touched anything since the last disarm (or since the start).
    bool touched() const { return m_touched; }
    // Milliseconds since the first touch after the last disarm (or the start): how long this
    // visitor has used the terminal; -1 before that touch.
    long long visitMilliseconds() const;
    // When this visit began; none before its first touch.
    std::optional<TimePoint> visitStart() const { return m_visitStart; }

    // The return warning covers the page: the next input goes to `cancel` (once).
    void returnWarningShown(std::function<void()> cancel) { m_cancelWarning = std::move(cancel); }
    bool returnWarningShowing() const { return static_cast<bool>(m_cancelWarning); }
    // The last input (or the start), disarmed or not: what an operator asks for.
    TimePoint lastRecorded() const { return m_lastRecorded; }

    // Every input goes to `listener` as well, after it is recorded; empty: to nobody.
    void setListener(std::function<void()> listener) { m_listener = std::move(listener); }

    // The screensaver page covers the window: the next input goes to `hide` (once).
    void screensaverShown(std::function<void()> hide) { m_hideScreensaver = std::move(hide); }
    bool screensaverShowing() const { return static_cast<bool>(m_hideScreensaver); }

private:
    long long millisecondsSince(TimePoint then) const;

    const MonotonicClock& m_clock;
    std::optional<TimePoint> m_lastInput;  // none while disarmed
    bool m_touched = false;
    std::optional<TimePoint> m_visitStart;
    TimePoint m_lastRecorded;
    std::function<void()> m_hideScreensaver;
    std::function<void()> m_cancelWarning;
    std::function<void()> m_listener;
};

}  // namespace plintor
