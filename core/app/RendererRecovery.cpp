#include "core/app/RendererRecovery.h"

namespace plintor {

int RendererRecovery::delayAfterEnd() {
    const auto now = m_clock.now();
    const auto windowStart = now - std::chrono::minutes(WindowMinutes);
    while (!m_ends.empty() && m_ends.front() <= windowStart) {
        m_ends.pop_front();
    }
    m_ends.push_back(now);
    return recentEnds() > EndsBeforeSlowing ? SlowDelayMs : QuickDelayMs;
}

}  // namespace plintor
