#pragma once

#include <chrono>
#include <optional>

#include "core/support/Clock.h"
#include "core/support/LocalTime.h"

namespace plintor {

// The moment of the daily restart. It is due once the clock passed it while keeping step with
// the monotonic clock. A clock that jumps (set right after a dead clock battery, set back by
// hand) moves the restart to the next restart time after the new time instead, so that a jump
// alone never restarts the machine, on no boot. A daylight-saving change is no jump: the
// system's time goes on evenly through it, only the local time of day moves. The time a machine
// spends suspended counts as a jump too (the monotonic clock stands still meanwhile).
class DailyRestart {
public:
    // A larger difference between the two clocks since the last look is a jump; a smaller one
    // is the clock being slewed, or the look coming late.
    static constexpr long long JumpToleranceMs = 2000;

    DailyRestart(const Clock& wall, const MonotonicClock& steady)
        : m_wall(wall), m_steady(steady) {}

    // Daily at `timeOfDay` from now on: today's when it is still to come, else tomorrow's.
    // None: never.
    void schedule(std::optional<TimeOfDay> timeOfDay);
    bool scheduled() const { return m_timeOfDay.has_value(); }
    // Looks at both clocks. When the clock jumped since the last look, the restart moves to the
    // first restart time after now. The jump in milliseconds (forward is positive); 0 when the
    // clock kept step or no restart is scheduled.
    long long followClock();
    // Milliseconds until it is due (0: due, one millisecond after its time); -1 when never.
    long long millisecondsToDue() const;
    LocalTime next() const { return m_next; }

private:
    void lookAtClocks();

    const Clock& m_wall;
    const MonotonicClock& m_steady;
    std::optional<TimeOfDay> m_timeOfDay;
    LocalTime m_next;
    std::chrono::system_clock::time_point m_wallSeen;
    std::chrono::steady_clock::time_point m_steadySeen;
};

}  // namespace plintor
