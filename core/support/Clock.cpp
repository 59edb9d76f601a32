#include "core/support/Clock.h"

#include "core/support/SystemFiles.h"

namespace plintor {
namespace {

IClock* InstalledClock = nullptr;

}  // namespace

TDateTime TSystemClock::Now() const {
    return EncodeDateTime(LocalNow());
}

IClock& CurrentClock() {
    static TSystemClock systemClock;
    return InstalledClock != nullptr ? *InstalledClock : systemClock;
}

TClockOverride::TClockOverride(IClock& clock) : FPrevious(InstalledClock) {
    InstalledClock = &clock;
}

TClockOverride::~TClockOverride() {
    InstalledClock = FPrevious;
}

}  // namespace plintor
