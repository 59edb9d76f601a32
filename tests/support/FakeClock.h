#pragma once

#include <cmath>

#include "core/support/Clock.h"

namespace plintor::test {

// A clock that stands still until the test moves it. Its zone starts as UTC.
class FakeClock final : public Clock {
public:
    static constexpr DateTime UnixEpoch = 25569;  // 1970-01-01 as a day count

    explicit FakeClock(DateTime now) : m_now(now) {}
    DateTime now() const override { return m_now; }
    std::chrono::system_clock::time_point systemTime() const override {
        const DateTime days = m_now - m_zoneOffset - UnixEpoch;
        return std::chrono::system_clock::time_point(
            std::chrono::milliseconds(std::llround(days * MillisecondsPerDay)));
    }
    // The clock is set: the local and the system's time move together.
    void set(DateTime now) { m_now = now; }
    // A daylight-saving change: the local time moves by `by`, the system's time does not.
    void changeZone(DateTime by) {
        m_now += by;
        m_zoneOffset += by;
    }

private:
    DateTime m_now;
    DateTime m_zoneOffset = 0;
};

// A monotonic clock that stands still until the test moves it on.
class FakeMonotonicClock final : public MonotonicClock {
public:
    std::chrono::steady_clock::time_point now() const override { return m_now; }
    void advance(std::chrono::steady_clock::duration by) { m_now += by; }

private:
    std::chrono::steady_clock::time_point m_now{std::chrono::hours(1)};
};

}  // namespace plintor::test
