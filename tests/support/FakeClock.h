#pragma once

#include "core/support/Clock.h"

namespace plintor::test {

// A clock that stands still until the test moves it.
class FakeClock final : public Clock {
public:
    explicit FakeClock(DateTime now) : m_now(now) {}
    DateTime now() const override { return m_now; }
    void set(DateTime now) { m_now = now; }

private:
    DateTime m_now;
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
