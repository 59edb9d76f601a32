#pragma once

#include "core/support/Clock.h"

namespace plintor::test {

// A clock that stands still until the test moves it.
class TFakeClock final : public IClock {
public:
    explicit TFakeClock(TDateTime now) : FNow(now) {}
    TDateTime Now() const override { return FNow; }
    void Set(TDateTime now) { FNow = now; }

private:
    TDateTime FNow;
};

}  // namespace plintor::test
