#include "core/lockdown/InputActivity.h"

#include <cmath>
#include <utility>

namespace plintor {

namespace {

// Counted in whole milliseconds, so day-count rounding never costs a minute.
long long millisecondsSince(DateTime then, const Clock& clock) {
    return std::llround((clock.now() - then) * MillisecondsPerDay);
}

}  // namespace

void InputActivity::record() {
    m_lastInput = m_clock.now();
    m_lastRecorded = m_lastInput;
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
    m_touched = true;
    record();
}

void InputActivity::disarm() {
    m_lastInput = 0;
    m_touched = false;
    m_cancelWarning = nullptr;
}

bool InputActivity::idleMinutesReached(int minutes) const {
    if (m_lastInput == 0 || minutes <= 0) {
        return false;
    }
    return millisecondsSince(m_lastInput, m_clock) / 60000 >= minutes;
}

long long InputActivity::idleMilliseconds() const {
    return m_lastInput == 0 ? -1 : millisecondsSince(m_lastInput, m_clock);
}

}  // namespace plintor
