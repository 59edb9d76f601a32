#include "platform/DesktopControl.h"
#include "platform/InputHooks.h"
#include "platform/InstanceChannel.h"
#include "platform/KeyboardSystem.h"
#include "platform/OfficeLocator.h"
#include "platform/Platform.h"
#include "platform/PowerActions.h"
#include "platform/ProcessProtection.h"
#include "platform/ProcessRunner.h"
#include "platform/SessionManager.h"
#include "platform/SystemInfo.h"
#include "platform/x11/LinuxServices.h"

namespace plintor {
namespace {

// An X11 desktop session: X11 for the display, logind on the system bus for power and the
// session, /proc and POSIX for processes.
class TLinuxPlatform final : public IPlatform {
public:
    ISystemInfo& SystemInfo() override { return *FSystemInfo; }
    IInputHooks& InputHooks() override { return *FInputHooks; }
    IProcessProtection& ProcessProtection() override { return *FProtection; }
    IProcessRunner& ProcessRunner() override { return *FRunner; }
    IOfficeLocator& OfficeLocator() override { return *FOffice; }
    IPowerActions& PowerActions() override { return *FPower; }

    std::unique_ptr<ISessionManager> ConnectSessionManager() override {
        return ConnectLogindSessionManager();
    }
    std::unique_ptr<IDesktopControl> ConnectDesktopControl() override {
        return ConnectX11DesktopControl();
    }
    std::unique_ptr<IKeyboardSystem> ConnectKeyboardSystem() override {
        return ConnectXkbKeyboardSystem();
    }
    std::unique_ptr<IInstanceChannel> ClaimInstanceChannel() override {
        return ClaimUnixInstanceChannel();
    }
    bool SendToInstance(const TKioskMessage& message, std::string& error) override {
        return SendToUnixInstance(message, error);
    }

private:
    std::unique_ptr<ISystemInfo> FSystemInfo = CreateLinuxSystemInfo();
    std::unique_ptr<IInputHooks> FInputHooks = CreateX11InputHooks();
    std::unique_ptr<IProcessProtection> FProtection = CreateSignalProtection();
    std::unique_ptr<IProcessRunner> FRunner = CreatePosixProcessRunner();
    std::unique_ptr<IOfficeLocator> FOffice = CreateLinuxOfficeLocator();
    std::unique_ptr<IPowerActions> FPower = CreateLogindPowerActions();
};

}  // namespace

std::unique_ptr<IPlatform> CreatePlatform() {
    return std::make_unique<TLinuxPlatform>();
}

}  // namespace plintor
