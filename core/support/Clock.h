#pragma once

#include "core/support/DateTime.h"

namespace plintor {

// Source of the local date and time; replaced in tests so that time can jump without sleeping.
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

// The clock every part of the program reads; the system clock unless a test installed another.
IClock& CurrentClock();

// Installs `clock` as the current clock while the object lives.
class TClockOverride {
public:
    explicit TClockOverride(IClock& clock);
    ~TClockOverride();
    TClockOverride(const TClockOverride&) = delete;
    TClockOverride& operator=(const TClockOverride&) = delete;

private:
    IClock* FPrevious;
};

}  // namespace plintor
