#include "core/app/UnattendedOperation.h"

#include "core/support/Log.h"

namespace plintor {

void UnattendedOperation::guardTick() {
    const KioskSettings& settings = m_state.settings;
    if (settings.autoRestart != -1 && m_state.clock.now() > m_state.nextRestartTime &&
        m_host.restartComputer()) {
        m_host.quitApplication();
    }
    m_host.updateTouchKeyboard();
    m_host.guardScreen();
}

void UnattendedOperation::housekeepingTick() {
    const KioskSettings& settings = m_state.settings;
    if (m_state.input.idleMinutesReached(settings.autoReturn)) {
        returnToHomePage();
    }
    if (settings.autoCloseAll) {
        m_host.closeForeignWindows();
    }
    if (settings.killExplorer && m_host.stopShell()) {
        m_log.entry("Kill explorer");
    }
}

void UnattendedOperation::returnToHomePage() {
    m_state.input.disarm();
    m_host.goHome();
    if (m_host.keyboardShown()) {
        m_host.toggleKeyboard();
    }
    m_host.leaveWheelchairMode();
    m_log.entry("Return to home page");
    m_state.lastReturn = m_state.clock.now();
    if (!m_state.settings.screensaver.empty()) {
        m_state.input.screensaverShown([this] { m_host.hideScreensaver(); });
        m_host.showScreensaver(m_state.settings.screensaver);
    }
}

}  // namespace plintor
