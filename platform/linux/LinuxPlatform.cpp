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
#include "platform/linux/LinuxServices.h"

namespace plintor {
namespace {

// An X11 desktop session: X11 for the display, logind on the system bus for power and the
// session, /proc and POSIX for processes, systemd for the service manager and the journal.
class LinuxPlatform final : public Platform {
public:
    SystemInfo& systemInfo() override { return *m_systemInfo; }
    InputHooks& inputHooks() override { return *m_inputHooks; }
    ProcessProtection& processProtection() override { return *m_protection; }
    ProcessRunner& processRunner() override { return *m_runner; }
    OfficeLocator& officeLocator() override { return *m_office; }
    PowerActions& powerActions() override { return *m_power; }

    std::unique_ptr<SessionManager> connectSessionManager() override {
        return connectLogindSessionManager();
    }
    std::unique_ptr<Desktop> connectDesktop() override { return connectX11Desktop(); }
    std::unique_ptr<KeyboardSystem> connectKeyboardSystem() override {
        return connectXkbKeyboardSystem();
    }
    std::unique_ptr<ServiceNotifier> connectServiceNotifier() override {
        return connectSystemdNotifier();
    }
    std::unique_ptr<LogMirror> connectJournal() override { return connectJournalMirror(); }
    std::unique_ptr<InstanceChannel> claimInstanceChannel(std::string& refusal) override {
        return claimUnixInstanceChannel(refusal);
    }
    bool sendToInstance(const KioskMessage& message, std::string& error) override {
        return sendToUnixInstance(message, error);
    }
    std::optional<KioskMessage> askInstance(const KioskMessage& question,
                                            std::chrono::milliseconds limit,
                                            std::string& error) override {
        return askUnixInstance(question, limit, error);
    }

private:
    std::unique_ptr<SystemInfo> m_systemInfo = createLinuxSystemInfo();
    std::unique_ptr<InputHooks> m_inputHooks = createX11InputHooks();
    std::unique_ptr<ProcessProtection> m_protection = createSignalProtection();
    std::unique_ptr<ProcessRunner> m_runner = createPosixProcessRunner();
    std::unique_ptr<OfficeLocator> m_office = createLinuxOfficeLocator();
    std::unique_ptr<PowerActions> m_power = createLogindPowerActions();
};

}  // namespace

std::unique_ptr<Platform> createPlatform() {
    return std::make_unique<LinuxPlatform>();
}

}  // namespace plintor
