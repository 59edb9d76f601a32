#pragma once

namespace plintor {

// Ending the session or the machine. Each reports whether the system accepted the request
// and logs nothing; callers decide what to log.
class PowerActions {
public:
    virtual ~PowerActions() = default;
    virtual bool windowsShutDown(bool force) = 0;
    virtual bool windowsRestart(bool force) = 0;
    virtual bool windowsLogOff(bool force) = 0;
};

}  // namespace plintor
