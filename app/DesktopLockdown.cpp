#include "app/DesktopLockdown.h"

#include "core/support/Log.h"
#include "platform/Desktop.h"
#include "platform/InputHooks.h"
#include "platform/Platform.h"

namespace plintor {

DesktopLockdown::~DesktopLockdown() = default;

void DesktopLockdown::connectDesktop() {
    m_desktop = m_platform.connectDesktop();
}

void DesktopLockdown::start(std::function<void(Desktop&)> connected) {
    m_connected = std::move(connected);
    watchInput();
    if (m_desktop != nullptr) {
        m_connected(*m_desktop);
    }
    if (!complete()) {
        m_timer.start(RetryIntervalMs);
    }
}

void DesktopLockdown::stop() {
    m_timer.stop();
    m_input.reset();
    m_connected = nullptr;
}

// Combinations that another program holds are not tried again: that program keeps them.
bool DesktopLockdown::complete() const {
    return m_desktop != nullptr && m_platform.inputHooks().descriptor() >= 0;
}

void DesktopLockdown::retry() {
    InputHooks& hooks = m_platform.inputHooks();
    if (hooks.descriptor() < 0) {
        hooks.install();
        watchInput();
    }
    if (m_desktop == nullptr && (m_desktop = m_platform.connectDesktop()) != nullptr &&
        m_connected) {
        m_connected(*m_desktop);
    }
    if (complete()) {
        m_timer.stop();
        const std::string shortfall = hooks.shortfall();
        logEntry(shortfall.empty() ? "Desktop lockdown in place"
                                   : "Desktop lockdown in place, incomplete: " + shortfall);
    }
}

void DesktopLockdown::watchInput() {
    InputHooks& hooks = m_platform.inputHooks();
    if (m_input != nullptr || hooks.descriptor() < 0) {
        return;
    }
    m_input = std::make_unique<FdWatch>(hooks.descriptor(), [&hooks] { hooks.processEvents(); });
    hooks.processEvents();
}

}  // namespace plintor
