#pragma once

#include "core/support/DateTime.h"

namespace plintor {

// Source of the local date and time. The parts that need the time are handed a clock, so that
// tests move time without sleeping.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
};

// The system's clock in local time, milliseconds included.
class SystemClock final : public Clock {
public:
    DateTime now() const override;
};

// The one system clock (it holds no state).
const Clock& systemClock();

}  // namespace plintor
