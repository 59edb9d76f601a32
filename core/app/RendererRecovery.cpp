#include "core/app/RendererRecovery.h"

namespace plintor {

int RendererRecovery::delayAfterEnd() {
    const DateTime now = m_clock.now();
    const DateTime windowStart = now - encodeTime(0, WindowMinutes, 0, 0);
    while (!m_ends.empty() && m_ends.front() <= windowStart) {
        m_ends.pop_front();
    }
    while (!m_ends.empty() && m_ends.back() > now) {  // the clock was set back
        m_ends.pop_back();
    }
    m_ends.push_back(now);
    return recentEnds() > EndsBeforeSlowing ? SlowDelayMs : QuickDelayMs;
}

}  // namespace plintor
