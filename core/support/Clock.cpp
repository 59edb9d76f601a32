#include "core/support/Clock.h"

#include "core/support/SystemFiles.h"

namespace plintor {

LocalTime SystemClock::now() const {
    return localTimeOf(localNow());
}

std::chrono::system_clock::time_point SystemClock::systemTime() const {
    return std::chrono::system_clock::now();
}

const Clock& systemClock() {
    static const SystemClock clock;
    return clock;
}

std::chrono::steady_clock::time_point SteadyClock::now() const {
    return std::chrono::steady_clock::now();
}

const MonotonicClock& steadyClock() {
    static const SteadyClock clock;
    return clock;
}

}  // namespace plintor
