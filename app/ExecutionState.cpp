#include "app/ExecutionState.h"

#include "core/config/KioskSettings.h"
#include "platform/DisplayPower.h"
#include "platform/SessionManager.h"

namespace plintor {

ExecutionState::~ExecutionState() {
    if (m_session != nullptr) {
        m_session->releaseSleepInhibitor();
    }
    if (m_display != nullptr && m_displayKeptOn) {
        m_display->keepDisplayOn(false);
    }
}

void ExecutionState::apply(AwakeRequest requests) {
    if (m_session != nullptr && includes(requests, AwakeRequest::System)) {
        m_session->inhibitSleep();
    }
    m_displayWanted = includes(requests, AwakeRequest::Display);
    keepDisplayOn();
}

void ExecutionState::useDisplay(DisplayPower& display) {
    m_display = &display;
    keepDisplayOn();
}

void ExecutionState::keepDisplayOn() {
    if (m_display != nullptr && m_displayWanted && !m_displayKeptOn) {
        m_display->keepDisplayOn(true);
        m_displayKeptOn = true;
    }
}

}  // namespace plintor
