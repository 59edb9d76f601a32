#pragma once

namespace plintor {

// Keeps ordinary termination requests from ending the kiosk. On Linux: SIGTERM, SIGINT,
// SIGHUP, SIGQUIT and SIGTSTP are refused (the loop learns of each through a descriptor and
// decides whether the session is ending) and the process is not dumpable.
class ProcessProtection {
public:
    virtual ~ProcessProtection() = default;

    // True when every part of the protection holds.
    virtual bool protect() = 0;
    // A descriptor that becomes readable when a refused request came; -1 without one.
    virtual int refusedSignalDescriptor() const = 0;
    // Takes the refused requests that are waiting.
    virtual void takeRefusedSignals() = 0;
};

}  // namespace plintor
