#include "core/app/KioskCounters.h"

namespace plintor {

// A count the engine reports as negative would wind a counter back, which its readers take
// for a restart of the kiosk.
void KioskCounters::requestsBlocked(int count) {
    if (count > 0) {
        m_blockedRequests += static_cast<std::uint64_t>(count);
    }
}

void KioskCounters::homeReturned() {
    ++m_homeReturns;
    if (m_returnListener) {
        m_returnListener();
    }
}

}  // namespace plintor
