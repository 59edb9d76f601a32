#include "core/support/Clock.h"

#include "core/support/SystemFiles.h"

namespace plintor {

TDateTime TSystemClock::Now() const {
    return EncodeDateTime(LocalNow());
}

const IClock& SystemClock() {
    static const TSystemClock clock;
    return clock;
}

}  // namespace plintor
