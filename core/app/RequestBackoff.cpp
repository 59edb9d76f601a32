#include "core/app/RequestBackoff.h"

#include <algorithm>

namespace plintor {

long long RequestBackoff::millisecondsUntilAllowed() const {
    if (m_inFlight) {
        return -1;
    }
    const auto left = m_allowedFrom - m_clock.now();
    return std::max<long long>(0, std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

void RequestBackoff::answered(bool succeeded) {
    m_inFlight = false;
    m_delayMs = succeeded ? 0 : std::clamp(m_delayMs * 2, FirstDelayMs, LongestDelayMs);
    m_allowedFrom = m_clock.now() + std::chrono::milliseconds(m_delayMs);
}

}  // namespace plintor
