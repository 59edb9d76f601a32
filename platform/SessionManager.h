#pragma once

#include <memory>

namespace plintor {

// The system's session and power manager (on Linux: logind on the system bus; the bus address
// follows DBUS_SYSTEM_BUS_ADDRESS, which tests point at a private bus). Every request is
// non-interactive: nobody is asked for a password or a confirmation.
class SessionManager {
public:
    virtual ~SessionManager() = default;

    // Each true when the manager accepted the request.
    virtual bool powerOff() = 0;
    virtual bool reboot() = 0;
    // Ends the session this program runs in.
    virtual bool terminateOwnSession() = 0;

    // Keeps the machine from sleeping or idling into suspend until released (or until the
    // object goes). True when the manager granted the inhibitor.
    virtual bool inhibitSleep() = 0;
    virtual void releaseSleepInhibitor() = 0;

    // True while the machine prepares to shut down or this program's session is closing:
    // then the program lets itself be ended.
    virtual bool sessionEnding() = 0;
};

}  // namespace plintor
