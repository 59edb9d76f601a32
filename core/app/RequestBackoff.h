#pragma once

#include <chrono>

#include "core/support/Clock.h"

namespace plintor {

// One request at a time to a service that may hang or refuse, and a growing wait after each
// failure in a row: a refusal that lasts is asked about less and less often, never in a loop.
// Measured on the monotonic clock.
class RequestBackoff {
public:
    static constexpr long long FirstDelayMs = 1000;
    static constexpr long long LongestDelayMs = 10 * 60 * 1000;

    explicit RequestBackoff(const MonotonicClock& clock) : m_clock(clock) {}

    // Milliseconds until the next request may be made: 0 now; -1 while one is unanswered.
    long long millisecondsUntilAllowed() const;
    void started() { m_inFlight = true; }
    // The answer came: a success ends the waits, a failure doubles the one after it.
    void answered(bool succeeded);
    // The wait that the last failure set; 0 after a success.
    long long delayMs() const { return m_delayMs; }

private:
    const MonotonicClock& m_clock;
    bool m_inFlight = false;
    long long m_delayMs = 0;
    std::chrono::steady_clock::time_point m_allowedFrom{};
};

}  // namespace plintor
