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

}  // namespace plintor::test
