#include "core/support/Clock.h"

#include <ctime>

namespace plintor {
namespace {

IClock* InstalledClock = nullptr;

}  // namespace

TDateTime TSystemClock::Now() const {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    return EncodeDateTime({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                           local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec,
                           static_cast<int>(now.tv_nsec / 1'000'000)});
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
