#include "core/lockdown/InputActivity.h"

#include <cmath>
#include <utility>

namespace plintor {

void InputActivity::record() {
    m_lastInput = m_clock.now();
    m_lastRecorded = m_lastInput;
    if (m_hideScreensaver) {
        std::exchange(m_hideScreensaver, nullptr)();
    }
}

bool InputActivity::idleMinutesReached(int minutes) const {
    if (m_lastInput == 0 || minutes <= 0) {
        return false;
    }
    // Counted in whole milliseconds, so day-count rounding never costs a minute.
    const long long milliseconds = std::llround((m_clock.now() - m_lastInput) * MillisecondsPerDay);
    return milliseconds / 60000 >= minutes;
}

}  // namespace plintor
