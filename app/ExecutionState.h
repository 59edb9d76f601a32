#pragma once

#include "core/config/AwakeRequest.h"

namespace plintor {

class DisplayPower;
class SessionManager;

// The system stays awake while the kiosk runs; the display too, unless configured otherwise.
// Both are let go when the object goes.
class ExecutionState {
public:
    explicit ExecutionState(SessionManager* session) : m_session(session) {}
    ~ExecutionState();
    ExecutionState(const ExecutionState&) = delete;
    ExecutionState& operator=(const ExecutionState&) = delete;

    // `requests`: the system and the display, as executionStateOf gives them.
    void apply(AwakeRequest requests);
    // The display is kept on from when the desktop can be controlled, also when that is late.
    void useDisplay(DisplayPower& display);

private:
    void keepDisplayOn();

    SessionManager* m_session;
    DisplayPower* m_display = nullptr;
    bool m_displayWanted = false;
    bool m_displayKeptOn = false;
};

}  // namespace plintor
