#include <systemd/sd-daemon.h>

#include <cstdint>
#include <cstdlib>

#include "platform/ServiceNotifier.h"
#include "platform/linux/LinuxServices.h"

namespace plintor {
namespace {

// The environment stays as systemd set it: the kiosk that starts afresh in this process (same
// process id) goes on notifying, and the manager takes notifications from the main process
// alone (NotifyAccess=main), whatever the kiosk's helpers inherit.
class SystemdNotifier final : public ServiceNotifier {
public:
    std::chrono::microseconds watchdogInterval() const override {
        std::uint64_t usec = 0;
        return sd_watchdog_enabled(0, &usec) > 0 ? std::chrono::microseconds(usec)
                                                 : std::chrono::microseconds(0);
    }
    bool notify(const std::string& state) override { return sd_notify(0, state.c_str()) > 0; }
};

}  // namespace

std::unique_ptr<ServiceNotifier> connectSystemdNotifier() {
    const char* socket = std::getenv("NOTIFY_SOCKET");
    if (socket == nullptr || *socket == '\0') {
        return nullptr;
    }
    return std::make_unique<SystemdNotifier>();
}

}  // namespace plintor
