#include "core/support/Clock.h"

#include "core/support/SystemFiles.h"

namespace plintor {

DateTime SystemClock::now() const {
    return encodeDateTime(localNow());
}

const Clock& systemClock() {
    static const SystemClock clock;
    return clock;
}

}  // namespace plintor
