#pragma once

#include <chrono>
#include <string>

namespace plintor {

// The service manager that started the kiosk and listens to it (systemd with Type=notify):
// it learns when the kiosk is ready, what it shows, that its user-interface thread still runs
// and when it stops. Made only when a manager listens.
class ServiceNotifier {
public:
    virtual ~ServiceNotifier() = default;

    // How long the manager waits for a sign of life before it restarts the kiosk; zero when it
    // does not watch this process.
    virtual std::chrono::microseconds watchdogInterval() const = 0;
    // Sends one notification: "NAME=value" lines ("READY=1\nSTATUS=…"). False when the manager
    // did not take it.
    virtual bool notify(const std::string& state) = 0;
};

}  // namespace plintor
