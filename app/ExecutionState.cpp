#include "app/ExecutionState.h"

#include "core/config/KioskSettings.h"
#include "platform/DesktopControl.h"
#include "platform/SessionManager.h"

namespace plintor {

ExecutionState::~ExecutionState() {
    if (m_session != nullptr) {
        m_session->releaseSleepInhibitor();
    }
    if (m_desktop != nullptr && m_displayKeptOn) {
        m_desktop->keepDisplayOn(false);
    }
}

void ExecutionState::apply(AwakeRequest requests) {
    if (m_session != nullptr && includes(requests, AwakeRequest::System)) {
        m_session->inhibitSleep();
    }
    m_displayWanted = includes(requests, AwakeRequest::Display);
    keepDisplayOn();
}

void ExecutionState::useDesktop(DesktopControl& desktop) {
    m_desktop = &desktop;
    keepDisplayOn();
}

void ExecutionState::keepDisplayOn() {
    if (m_desktop != nullptr && m_displayWanted && !m_displayKeptOn) {
        m_desktop->keepDisplayOn(true);
        m_displayKeptOn = true;
    }
}

}  // namespace plintor
