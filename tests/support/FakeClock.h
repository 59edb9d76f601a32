#pragma once

#include "core/support/Clock.h"

namespace plintor::test {

// A clock that stands still until the test moves it; installed while it lives.
class TFakeClock final : public IClock {
public:
    explicit TFakeClock(TDateTime now) : FNow(now), FOverride(*this) {}
    TDateTime Now() const override { return FNow; }
    void Set(TDateTime now) { FNow = now; }

private:
    TDateTime FNow;
    TClockOverride FOverride;
};

}  // namespace plintor::test
