#pragma once

namespace plintor {

// Ending the session or the machine. Each reports whether the system accepted the request
// and logs nothing; callers decide what to log.
class IPowerActions {
public:
    virtual ~IPowerActions() = default;
    virtual bool WindowsShutDown(bool force) = 0;
    virtual bool WindowsRestart(bool force) = 0;
    virtual bool WindowsLogOff(bool force) = 0;
};

}  // namespace plintor
