#pragma once

#include <chrono>

#include "core/support/Clock.h"

namespace plintor {

// Keeps the shutdown password from being guessed at machine speed: after three wrong entries
// in a row, each next attempt waits twice as long as the one before (1 s, 2 s, 4 s, ... up to
// five minutes), counted from the last wrong entry; a right entry starts afresh. Closing the
// panel changes nothing, so reopening it is no way around the wait.
class PasswordAttempts {
public:
    static constexpr int FreeAttempts = 3;
    static constexpr std::chrono::milliseconds FirstWait{1000};
    static constexpr std::chrono::milliseconds LongestWait{5 * 60 * 1000};

    explicit PasswordAttempts(const MonotonicClock& clock) : m_clock(clock) {}

    // How long the next attempt must still wait; zero when it may be tried now.
    std::chrono::milliseconds waitLeft() const;
    void wrongEntry();
    void rightEntry() { m_wrongInARow = 0; }
    int wrongInARow() const { return m_wrongInARow; }

    // The wait that follows `wrongInARow` wrong entries in a row.
    static std::chrono::milliseconds waitAfter(int wrongInARow);

private:
    const MonotonicClock& m_clock;
    int m_wrongInARow = 0;
    std::chrono::steady_clock::time_point m_lastWrong;
};

}  // namespace plintor
