#pragma once

#include <chrono>

#include "core/support/Clock.h"

namespace plintor {

// Holds a kind of log entry to at most one per interval, so that a page repeating an event as
// fast as it can cannot push the log's history out: the first event of an interval is logged
// at once, the rest of it only counted, and the count is reported in one entry when the
// interval ends. That report starts the next interval.
class LogRateLimit {
public:
    LogRateLimit(const MonotonicClock& clock, std::chrono::milliseconds interval)
        : m_clock(clock), m_interval(interval) {}

    // An event: true when it is to be logged now; false when it was counted instead.
    bool admit();
    // How long until the counted events are due to be reported; zero when they are due now.
    std::chrono::milliseconds untilReport() const;
    // The events counted since the last entry, due now (0: nothing to report, and the next
    // event is logged at once).
    int takeCounted();

private:
    const MonotonicClock& m_clock;
    const std::chrono::milliseconds m_interval;
    std::chrono::steady_clock::time_point m_intervalEnd;
    bool m_inInterval = false;
    int m_counted = 0;
};

}  // namespace plintor
