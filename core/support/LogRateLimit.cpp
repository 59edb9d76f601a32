#include "core/support/LogRateLimit.h"

#include <algorithm>

namespace plintor {

bool LogRateLimit::admit() {
    const auto now = m_clock.now();
    // Events counted and not yet reported keep their interval, however late the report is.
    if (m_counted == 0 && (!m_inInterval || now >= m_intervalEnd)) {
        m_inInterval = true;
        m_intervalEnd = now + m_interval;
        return true;
    }
    ++m_counted;
    return false;
}

std::chrono::milliseconds LogRateLimit::untilReport() const {
    return std::max(std::chrono::milliseconds(0),
                    std::chrono::ceil<std::chrono::milliseconds>(m_intervalEnd - m_clock.now()));
}

int LogRateLimit::takeCounted() {
    const int counted = m_counted;
    m_counted = 0;
    if (counted > 0) {
        m_intervalEnd = m_clock.now() + m_interval;
    } else {
        m_inInterval = false;
    }
    return counted;
}

}  // namespace plintor
