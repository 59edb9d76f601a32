#pragma once

#include <memory>
#include <string>

namespace plintor {

class Desktop;
class InputHooks;
class InstanceChannel;
class KeyboardSystem;
class OfficeLocator;
class PowerActions;
class ProcessProtection;
class ProcessRunner;
class SessionManager;
class SystemInfo;
struct KioskMessage;

// The Windows implementations of the platform's services, each made by its own file; the
// platform factory (WindowsPlatform.cpp) puts them together.
std::unique_ptr<SystemInfo> createWindowsSystemInfo();
std::unique_ptr<InputHooks> createHookInputHooks();
std::unique_ptr<ProcessProtection> createDaclProtection();
std::unique_ptr<ProcessRunner> createWindowsProcessRunner();
std::unique_ptr<OfficeLocator> createRegistryOfficeLocator();
std::unique_ptr<PowerActions> createExitWindowsPowerActions();
std::unique_ptr<SessionManager> createWindowsSessionManager();
std::unique_ptr<Desktop> createWin32Desktop();
std::unique_ptr<KeyboardSystem> createWin32KeyboardSystem();
std::unique_ptr<InstanceChannel> claimWindowInstanceChannel();
bool sendToWindowInstance(const KioskMessage& message, std::string& error);

}  // namespace plintor
