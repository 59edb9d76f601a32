#pragma once

#include <cstdint>

namespace plintor {

class IDesktopControl;
class ISessionManager;

// The system stays awake while the kiosk runs; the display too, unless configured otherwise.
// Both are let go when the object goes.
class TExecutionState {
public:
    explicit TExecutionState(ISessionManager* session) : FSession(session) {}
    ~TExecutionState();
    TExecutionState(const TExecutionState&) = delete;
    TExecutionState& operator=(const TExecutionState&) = delete;

    // `flags`: ES_SYSTEM_REQUIRED and ES_DISPLAY_REQUIRED, as ExecutionStateOf gives them.
    void Apply(std::uint32_t flags);
    // The display is kept on from when the desktop can be controlled, also when that is late.
    void UseDesktop(IDesktopControl& desktop);

private:
    void KeepDisplayOn();

    ISessionManager* FSession;
    IDesktopControl* FDesktop = nullptr;
    bool FDisplayWanted = false;
    bool FDisplayKeptOn = false;
};

}  // namespace plintor
