#include "core/lockdown/InputActivity.h"

#include <utility>

namespace plintor {

void InputActivity::record() {
    m_lastRecorded = m_clock.now();
    m_lastInput = m_lastRecorded;
    if (m_hideScreensaver) {
        std::exchange(m_hideScreensaver, nullptr)();
    }
    if (m_cancelWarning) {
        std::exchange(m_cancelWarning, nullptr)();
    }
    if (m_listener) {
        m_listener();
    }
}

void InputActivity::recordTouch() {
    if (!m_touched) {
        m_visitStart = m_clock.now();
    }
    m_touched = true;
    record();
}

void InputActivity::disarm() {
    m_lastInput.reset();
    m_touched = false;
    m_visitStart.reset();
    m_cancelWarning = nullptr;
}

bool InputActivity::idleMinutesReached(int minutes) const {
    const long long idle = idleMilliseconds();
    return idle >= 0 && minutes > 0 && idle / 60000 >= minutes;
}

long long InputActivity::idleMilliseconds() const {
    return m_lastInput ? millisecondsSince(*m_lastInput) : -1;
}

long long InputActivity::visitMilliseconds() const {
    return m_visitStart ? millisecondsSince(*m_visitStart) : -1;
}

long long InputActivity::millisecondsSince(TimePoint then) const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(m_clock.now() - then).count();
}

}  // namespace plintor
