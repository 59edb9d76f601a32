#pragma once

namespace plintor {

// Ending the session or the machine. Each reports whether the system accepted the request
// and logs nothing; callers decide what to log.
class PowerActions {
public:
    virtual ~PowerActions() = default;
    virtual bool shutDown(bool force) = 0;
    virtual bool restart(bool force) = 0;
    virtual bool logOff(bool force) = 0;
};

}  // namespace plintor
