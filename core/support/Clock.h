#pragma once

#include "core/support/DateTime.h"

namespace plintor {

// Source of the local date and time. The parts that need the time are handed a clock, so that
// tests move time without sleeping.
class IClock {
public:
    virtual ~IClock() = default;
    virtual TDateTime Now() const = 0;
};

// The system's clock in local time, milliseconds included.
class TSystemClock final : public IClock {
public:
    TDateTime Now() const override;
};

// The one system clock (it holds no state).
const IClock& SystemClock();

}  // namespace plintor
