#pragma once

#include "core/config/AwakeRequest.h"

namespace plintor {

class DesktopControl;
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
    void useDesktop(DesktopControl& desktop);

private:
    void keepDisplayOn();

    SessionManager* m_session;
    DesktopControl* m_desktop = nullptr;
    bool m_displayWanted = false;
    bool m_displayKeptOn = false;
};

}  // namespace plintor
