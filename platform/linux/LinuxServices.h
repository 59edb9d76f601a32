#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "core/app/KioskMessage.h"

namespace plintor {

class Desktop;
class InputHooks;
class InstanceChannel;
class KeyboardSystem;
class LogMirror;
class OfficeLocator;
class PowerActions;
class ProcessProtection;
class ProcessRunner;
class ServiceNotifier;
class SessionManager;
class SystemInfo;

// The Linux implementations of the platform's services, each made by its own file; the
// platform factory (LinuxPlatform.cpp) puts them together.
std::unique_ptr<SystemInfo> createLinuxSystemInfo();
std::unique_ptr<InputHooks> createX11InputHooks();
std::unique_ptr<ProcessProtection> createSignalProtection();
std::unique_ptr<ProcessRunner> createPosixProcessRunner();
std::unique_ptr<OfficeLocator> createLinuxOfficeLocator();
std::unique_ptr<PowerActions> createLogindPowerActions();
std::unique_ptr<SessionManager> connectLogindSessionManager();
std::unique_ptr<Desktop> connectX11Desktop();
std::unique_ptr<KeyboardSystem> connectXkbKeyboardSystem();
std::unique_ptr<ServiceNotifier> connectSystemdNotifier();
std::unique_ptr<LogMirror> connectJournalMirror();
std::unique_ptr<InstanceChannel> claimUnixInstanceChannel(std::string& refusal);
bool sendToUnixInstance(const KioskMessage& message, std::string& error);
std::optional<KioskMessage> askUnixInstance(const KioskMessage& question,
                                            std::chrono::milliseconds limit, std::string& error);

}  // namespace plintor
