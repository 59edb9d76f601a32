#include "app/PageRecovery.h"

#include "core/app/KioskState.h"
#include "core/support/Log.h"

namespace plintor {

PageRecovery::PageRecovery(KioskState& state, std::function<void()> recover)
    : m_state(state), m_recover(std::move(recover)), m_recovery(state.steady), m_delay([this] {
          m_state.counters.rendererRestarted();
          m_recover();
      }) {}

// The engine does not say how its process ended beyond the reason.
void PageRecovery::rendererEnded(const std::string& reason) {
    logEntry("Renderer ended: " + reason + ", exit code -1");
    recoverLater();
}

void PageRecovery::rendererUnresponsive() {
    logEntry("Renderer unresponsive");
    recoverLater();
}

void PageRecovery::recoverLater() {
    if (m_delay.isActive()) {
        return;
    }
    const int delay = m_recovery.delayAfterEnd();
    if (delay == RendererRecovery::SlowDelayMs) {
        logEntry("Renderer ended " + std::to_string(m_recovery.recentEnds()) + " times in " +
                 std::to_string(RendererRecovery::WindowMinutes) + " minutes; next attempt in " +
                 std::to_string(delay / 1000) + " s");
    }
    m_delay.start(delay);
}

}  // namespace plintor
