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

// Every service of the operating system that the program uses. Made once, by the factory of
// the platform the program is built for (platform/linux here, platform/win32 for Windows), and
// handed to the parts that need a service; tests hand in their own.
class Platform {
public:
    virtual ~Platform() = default;

    virtual SystemInfo& systemInfo() = 0;
    virtual InputHooks& inputHooks() = 0;
    virtual ProcessProtection& processProtection() = 0;
    virtual ProcessRunner& processRunner() = 0;
    virtual OfficeLocator& officeLocator() = 0;
    virtual PowerActions& powerActions() = 0;

    // Each none when the service is not there (no display, no system bus).
    virtual std::unique_ptr<SessionManager> connectSessionManager() = 0;
    virtual std::unique_ptr<Desktop> connectDesktop() = 0;
    virtual std::unique_ptr<KeyboardSystem> connectKeyboardSystem() = 0;
    // None when no service manager started the kiosk and waits for its notifications.
    virtual std::unique_ptr<ServiceNotifier> connectServiceNotifier() = 0;
    // The system's journal for the program's log entries; none when the program's standard
    // error does not go there.
    virtual std::unique_ptr<LogMirror> connectJournal() = 0;

    // The single-instance claim and message channel, reachable by this user alone. None when
    // another kiosk of this user holds it; none with `refusal` said when it cannot be had
    // safely (another user's program holds the name, the channel's folder is not private).
    virtual std::unique_ptr<InstanceChannel> claimInstanceChannel(std::string& refusal) = 0;
    // Sends one message to the running kiosk; false with `error` said when none takes it.
    virtual bool sendToInstance(const KioskMessage& message, std::string& error) = 0;
    // Sends a question to the running kiosk and waits at most `limit` for its answer; only an
    // answer from this user's kiosk counts. None with `error` said when none comes.
    virtual std::optional<KioskMessage> askInstance(const KioskMessage& question,
                                                    std::chrono::milliseconds limit,
                                                    std::string& error) = 0;
};

// The platform the program was built for.
std::unique_ptr<Platform> createPlatform();

}  // namespace plintor
