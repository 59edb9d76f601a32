#pragma once

#include "core/support/Clock.h"

namespace plintor::test {

// A clock that stands still until the test moves it. Its zone starts as UTC.
class FakeClock final : public Clock {
public:
    explicit FakeClock(LocalTime now) : m_now(now) {}
    LocalTime now() const override { return m_now; }
    std::chrono::system_clock::time_point systemTime() const override {
        return std::chrono::system_clock::time_point(m_now.time_since_epoch() - m_zoneOffset);
    }
    // The clock is set: the local and the system's time move together.
    void set(LocalTime now) { m_now = now; }
    // A daylight-saving change: the local time moves by `by`, the system's time does not.
    void changeZone(std::chrono::milliseconds by) {
        m_now += by;
        m_zoneOffset += by;
    }

private:
    LocalTime m_now;
    std::chrono::milliseconds m_zoneOffset{0};
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
