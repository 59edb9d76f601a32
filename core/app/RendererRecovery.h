#pragma once

#include <chrono>
#include <deque>

#include "core/support/Clock.h"

namespace plintor {

// How soon the home page comes back after the page's renderer ended abnormally: at once, in
// effect, unless the renderer keeps ending; then a minute between attempts, so that a page that
// crashes as it loads cannot keep a core busy. Counted on the monotonic clock, so that setting
// the clock neither forgets nor invents ends.
class RendererRecovery {
public:
    static constexpr int QuickDelayMs = 2000;
    static constexpr int SlowDelayMs = 60000;
    static constexpr int EndsBeforeSlowing = 5;  // more than this many within the window
    static constexpr int WindowMinutes = 10;

    explicit RendererRecovery(const MonotonicClock& clock) : m_clock(clock) {}

    // Records that the renderer ended now; the wait before the next attempt.
    int delayAfterEnd();
    // The ends within the window, the latest included.
    int recentEnds() const { return static_cast<int>(m_ends.size()); }

private:
    const MonotonicClock& m_clock;
    std::deque<std::chrono::steady_clock::time_point> m_ends;
};

}  // namespace plintor
