#include "glib/Timeout.h"

#include "glib/Guarded.h"

#include <algorithm>
#include <climits>

namespace plintor {

Timeout::Timeout(std::function<void()> fired, bool repeating)
    : m_fired(std::move(fired)), m_repeating(repeating) {}

Timeout::~Timeout() {
    stop();
}

void Timeout::start(long long milliseconds) {
    stop();
    m_intervalMs = std::clamp(milliseconds, 0LL, static_cast<long long>(UINT_MAX));
    m_dueMicroseconds = g_get_monotonic_time() + m_intervalMs * 1000;
    m_source = g_timeout_add(static_cast<guint>(m_intervalMs), &Timeout::fire, this);
}

void Timeout::stop() {
    if (m_source != 0) {
        g_source_remove(m_source);
        m_source = 0;
    }
}

long long Timeout::remainingMs() const {
    if (m_source == 0) {
        return -1;
    }
    return std::max<long long>(0, (m_dueMicroseconds - g_get_monotonic_time()) / 1000);
}

// The callback may stop, restart or destroy the timer: the source's fate is settled before it
// runs, and it runs from a copy. A repeating source the callback stopped or restarted was
// removed by that, whatever this returns.
gboolean Timeout::fire(gpointer self) {
    auto* timeout = static_cast<Timeout*>(self);
    const std::function<void()> fired = timeout->m_fired;
    if (timeout->m_repeating) {
        timeout->m_dueMicroseconds = g_get_monotonic_time() + timeout->m_intervalMs * 1000;
        guarded(fired);
        return G_SOURCE_CONTINUE;
    }
    timeout->m_source = 0;
    guarded(fired);
    return G_SOURCE_REMOVE;
}

}  // namespace plintor
