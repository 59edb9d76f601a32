#include "app/LockdownRetry.h"

#include "core/support/Log.h"
#include "platform/DesktopControl.h"
#include "platform/InputHooks.h"
#include "platform/Platform.h"

namespace plintor {

LockdownRetry::LockdownRetry(Platform& platform, std::unique_ptr<DesktopControl>& desktop,
                             std::function<void(DesktopControl&)> connected)
    : m_platform(platform),
      m_desktop(desktop),
      m_connected(std::move(connected)),
      m_timer([this] { retry(); }, true) {}

void LockdownRetry::start() {
    watchInput();
    if (m_desktop != nullptr) {
        m_connected(*m_desktop);
    }
    if (!complete()) {
        m_timer.start(RetryIntervalMs);
    }
}

// Combinations that another program holds are not tried again: that program keeps them.
bool LockdownRetry::complete() const {
    return m_desktop != nullptr && m_platform.inputHooks().descriptor() >= 0;
}

void LockdownRetry::retry() {
    InputHooks& hooks = m_platform.inputHooks();
    if (hooks.descriptor() < 0) {
        hooks.install();
        watchInput();
    }
    if (m_desktop == nullptr && (m_desktop = m_platform.connectDesktopControl()) != nullptr) {
        m_connected(*m_desktop);
    }
    if (complete()) {
        m_timer.stop();
        const std::string shortfall = hooks.shortfall();
        logEntry(shortfall.empty() ? "Desktop lockdown in place"
                                   : "Desktop lockdown in place, incomplete: " + shortfall);
    }
}

void LockdownRetry::watchInput() {
    InputHooks& hooks = m_platform.inputHooks();
    if (m_input != nullptr || hooks.descriptor() < 0) {
        return;
    }
    m_input = std::make_unique<FdWatch>(hooks.descriptor(), [&hooks] { hooks.processEvents(); });
    hooks.processEvents();
}

}  // namespace plintor
