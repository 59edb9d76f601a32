#include "core/app/DailyRestart.h"

#include <cstdlib>

#include "core/config/KioskSettings.h"

namespace plintor {

void DailyRestart::schedule(std::optional<TimeOfDay> timeOfDay) {
    m_timeOfDay = timeOfDay;
    if (scheduled()) {
        m_next = nextRestartAfter(m_wall.now(), *m_timeOfDay);
        lookAtClocks();
    }
}

void DailyRestart::lookAtClocks() {
    m_wallSeen = m_wall.systemTime();
    m_steadySeen = m_steady.now();
}

long long DailyRestart::followClock() {
    if (!scheduled()) {
        return 0;
    }
    const auto wallBefore = m_wallSeen;
    const auto steadyBefore = m_steadySeen;
    lookAtClocks();
    const auto jump = (m_wallSeen - wallBefore) - (m_steadySeen - steadyBefore);
    const long long jumpMs = std::chrono::duration_cast<std::chrono::milliseconds>(jump).count();
    if (std::llabs(jumpMs) <= JumpToleranceMs) {
        return 0;
    }
    // Strictly after now: a clock set to the restart time itself must not restart either.
    const LocalTime now = m_wall.now();
    m_next = nextRestartAfter(now, *m_timeOfDay);
    if (m_next <= now) {
        m_next += std::chrono::days(1);
    }
    return jumpMs;
}

long long DailyRestart::millisecondsToDue() const {
    if (!scheduled()) {
        return -1;
    }
    const std::chrono::milliseconds left = m_next - m_wall.now();
    return left < std::chrono::milliseconds(0) ? 0 : left.count() + 1;
}

}  // namespace plintor
