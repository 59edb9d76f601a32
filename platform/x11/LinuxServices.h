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

// The Linux implementations of the platform's services, each made by its own file; the
// platform factory (LinuxPlatform.cpp) puts them together.
std::unique_ptr<ISystemInfo> CreateLinuxSystemInfo();
std::unique_ptr<IInputHooks> CreateX11InputHooks();
std::unique_ptr<IProcessProtection> CreateSignalProtection();
std::unique_ptr<IProcessRunner> CreatePosixProcessRunner();
std::unique_ptr<IOfficeLocator> CreateLinuxOfficeLocator();
std::unique_ptr<IPowerActions> CreateLogindPowerActions();
std::unique_ptr<ISessionManager> ConnectLogindSessionManager();
std::unique_ptr<IDesktopControl> ConnectX11DesktopControl();
std::unique_ptr<IKeyboardSystem> ConnectXkbKeyboardSystem();
std::unique_ptr<IInstanceChannel> ClaimUnixInstanceChannel();
bool SendToUnixInstance(const TKioskMessage& message, std::string& error);

}  // namespace plintor
