#include "core/support/Log.h"
#include "platform/Desktop.h"
#include "platform/InputHooks.h"
#include "platform/InstanceChannel.h"
#include "platform/KeyboardSystem.h"
#include "platform/OfficeLocator.h"
#include "platform/Platform.h"
#include "platform/PowerActions.h"
#include "platform/ProcessProtection.h"
#include "platform/ProcessRunner.h"
#include "platform/ServiceNotifier.h"
#include "platform/SessionManager.h"
#include "platform/SystemInfo.h"
#include "platform/win32/WindowsServices.h"

namespace plintor {
namespace {

// A Windows session: user32 for windows, hooks and keyboard layouts, advapi32 for the
// registry, security and privileges, kernel32 for processes.
class WindowsPlatform final : public Platform {
public:
    SystemInfo& systemInfo() override { return *m_systemInfo; }
    InputHooks& inputHooks() override { return *m_inputHooks; }
    ProcessProtection& processProtection() override { return *m_protection; }
    ProcessRunner& processRunner() override { return *m_runner; }
    OfficeLocator& officeLocator() override { return *m_office; }
    PowerActions& powerActions() override { return *m_power; }

    std::unique_ptr<SessionManager> connectSessionManager() override {
        return createWindowsSessionManager();
    }
    std::unique_ptr<Desktop> connectDesktop() override { return createWin32Desktop(); }
    std::unique_ptr<KeyboardSystem> connectKeyboardSystem() override {
        return createWin32KeyboardSystem();
    }
    // The kiosk runs in the visitor's session on Windows, not under a service manager, and its
    // log is its own.
    std::unique_ptr<ServiceNotifier> connectServiceNotifier() override { return nullptr; }
    std::unique_ptr<LogMirror> connectJournal() override { return nullptr; }
    std::unique_ptr<InstanceChannel> claimInstanceChannel(std::string&) override {
        return claimWindowInstanceChannel();
    }
    bool sendToInstance(const KioskMessage& message, std::string& error) override {
        return sendToWindowInstance(message, error);
    }
    std::optional<KioskMessage> askInstance(const KioskMessage&, std::chrono::milliseconds,
                                            std::string& error) override {
        error = "the running kiosk cannot answer on Windows";
        return std::nullopt;
    }

private:
    std::unique_ptr<SystemInfo> m_systemInfo = createWindowsSystemInfo();
    std::unique_ptr<InputHooks> m_inputHooks = createHookInputHooks();
    std::unique_ptr<ProcessProtection> m_protection = createDaclProtection();
    std::unique_ptr<ProcessRunner> m_runner = createWindowsProcessRunner();
    std::unique_ptr<OfficeLocator> m_office = createRegistryOfficeLocator();
    std::unique_ptr<PowerActions> m_power = createExitWindowsPowerActions();
};

}  // namespace

std::unique_ptr<Platform> createPlatform() {
    return std::make_unique<WindowsPlatform>();
}

}  // namespace plintor
