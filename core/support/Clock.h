#pragma once

#include <chrono>

#include "core/support/LocalTime.h"

namespace plintor {

// Source of the local date and time. The parts that need the time are handed a clock, so that
// tests move time without sleeping.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() const = 0;
    // The same clock without the time zone: setting the clock moves it, a daylight-saving
    // change does not.
    virtual std::chrono::system_clock::time_point systemTime() const = 0;
};

// The system's clock in local time, milliseconds included.
class SystemClock final : public Clock {
public:
    LocalTime now() const override;
    std::chrono::system_clock::time_point systemTime() const override;
};

// The one system clock (it holds no state).
const Clock& systemClock();

// Time that only goes forward, whatever happens to the date and time of day: for waits and
// rates, which a clock set back must not stretch or undo.
class MonotonicClock {
public:
    virtual ~MonotonicClock() = default;
    virtual std::chrono::steady_clock::time_point now() const = 0;
};

// The system's monotonic clock.
class SteadyClock final : public MonotonicClock {
public:
    std::chrono::steady_clock::time_point now() const override;
};

// The one monotonic clock (it holds no state).
const MonotonicClock& steadyClock();

}  // namespace plintor
