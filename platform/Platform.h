#pragma once

#include <memory>
#include <string>

#include "core/app/KioskMessage.h"

namespace plintor {

class IDesktopControl;
class IInputHooks;
class IInstanceChannel;
class IKeyboardSystem;
class IOfficeLocator;
class IPowerActions;
class IProcessProtection;
class IProcessRunner;
class ISessionManager;
class ISystemInfo;

// Every service of the operating system that the program uses. Made once, by the factory of
// the platform the program is built for (platform/x11 here, platform/win32 for Windows), and
// handed to the parts that need a service; tests hand in their own.
class IPlatform {
public:
    virtual ~IPlatform() = default;

    virtual ISystemInfo& SystemInfo() = 0;
    virtual IInputHooks& InputHooks() = 0;
    virtual IProcessProtection& ProcessProtection() = 0;
    virtual IProcessRunner& ProcessRunner() = 0;
    virtual IOfficeLocator& OfficeLocator() = 0;
    virtual IPowerActions& PowerActions() = 0;

    // Each none when the service is not there (no display, no system bus).
    virtual std::unique_ptr<ISessionManager> ConnectSessionManager() = 0;
    virtual std::unique_ptr<IDesktopControl> ConnectDesktopControl() = 0;
    virtual std::unique_ptr<IKeyboardSystem> ConnectKeyboardSystem() = 0;

    // The single-instance claim and message channel; none when another kiosk of this user
    // holds it.
    virtual std::unique_ptr<IInstanceChannel> ClaimInstanceChannel() = 0;
    // Sends one message to the running kiosk; false with `error` said when none takes it.
    virtual bool SendToInstance(const TKioskMessage& message, std::string& error) = 0;
};

// The platform the program was built for.
std::unique_ptr<IPlatform> CreatePlatform();

}  // namespace plintor
