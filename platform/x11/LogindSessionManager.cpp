// logind on the system bus. A kiosk must not freeze on a stuck bus: the handshake and every call
// are bounded by CallTimeout, after which the request counts as refused.
#include <fcntl.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/SessionManager.h"
#include "platform/posix/UniqueFd.h"
#include "platform/x11/LinuxServices.h"

namespace plintor {
namespace {

constexpr std::chrono::microseconds CallTimeout = std::chrono::seconds(5);

constexpr char Service[] = "org.freedesktop.login1";
constexpr char ManagerPath[] = "/org/freedesktop/login1";
constexpr char ManagerInterface[] = "org.freedesktop.login1.Manager";
constexpr char SessionInterface[] = "org.freedesktop.login1.Session";

struct TBusClose {
    // Closing without flushing: a flush waits without limit for a peer that stopped reading.
    void operator()(sd_bus* bus) const { sd_bus_close_unref(bus); }
};
struct TMessageUnref {
    void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
struct TFree {
    void operator()(char* text) const { std::free(text); }
};
using TBus = std::unique_ptr<sd_bus, TBusClose>;
using TMessage = std::unique_ptr<sd_bus_message, TMessageUnref>;

class TBusError {
public:
    TBusError() = default;
    ~TBusError() { sd_bus_error_free(&FError); }
    TBusError(const TBusError&) = delete;
    TBusError& operator=(const TBusError&) = delete;

    sd_bus_error* Get() { return &FError; }

private:
    sd_bus_error FError = SD_BUS_ERROR_NULL;
};

// sd-bus would otherwise finish the handshake inside the first call, under its own 90-second
// authentication limit.
bool AwaitReady(sd_bus* bus) {
    const auto deadline = std::chrono::steady_clock::now() + CallTimeout;
    while (sd_bus_is_ready(bus) <= 0) {
        const int processed = sd_bus_process(bus, nullptr);
        if (processed < 0) {
            return false;
        }
        if (processed > 0) {
            continue;
        }
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || sd_bus_wait(bus, left.count()) < 0) {
            return false;
        }
    }
    return true;
}

std::string SessionIdFromEnvironment() {
    const char* id = std::getenv("XDG_SESSION_ID");
    return id != nullptr ? id : "";
}

class TLogindSessionManager final : public ISessionManager {
public:
    explicit TLogindSessionManager(TBus bus) : FBus(std::move(bus)) {}

    bool PowerOff() override { return CallManager("PowerOff", "b", 0) != nullptr; }
    bool Reboot() override { return CallManager("Reboot", "b", 0) != nullptr; }

    bool TerminateOwnSession() override {
        std::string id = SessionIdFromEnvironment();
        if (id.empty()) {
            id = StringProperty(SessionPathByPid(), SessionInterface, "Id");
        }
        return !id.empty() && CallManager("TerminateSession", "s", id.c_str()) != nullptr;
    }

    bool InhibitSleep() override {
        if (FInhibitor.IsOpen()) {
            return true;
        }
        const TMessage reply = CallManager("Inhibit", "ssss", "sleep:idle", "Plintor",
                                           "A public terminal stays available", "block");
        int fd = -1;
        if (reply == nullptr || sd_bus_message_read(reply.get(), "h", &fd) < 0) {
            return false;
        }
        // The reply owns its descriptor and closes it when freed, which would end the inhibitor.
        FInhibitor = TUniqueFd(::fcntl(fd, F_DUPFD_CLOEXEC, 3));
        return FInhibitor.IsOpen();
    }

    void ReleaseSleepInhibitor() override { FInhibitor.Close(); }

    bool SessionEnding() override {
        int preparing = 0;
        TBusError error;
        if (sd_bus_get_property_trivial(FBus.get(), Service, ManagerPath, ManagerInterface,
                                        "PreparingForShutdown", error.Get(), 'b', &preparing) < 0) {
            return false;
        }
        return preparing != 0 ||
               StringProperty(OwnSessionPath(), SessionInterface, "State") == "closing";
    }

private:
    // The time limit comes from sd_bus_set_method_call_timeout on the connection.
    template <typename... TArgs>
    TMessage CallManager(const char* member, const char* types, TArgs... args) {
        TBusError error;
        sd_bus_message* reply = nullptr;
        if (sd_bus_call_method(FBus.get(), Service, ManagerPath, ManagerInterface, member,
                               error.Get(), &reply, types, args...) < 0) {
            return nullptr;
        }
        return TMessage(reply);
    }

    std::string ObjectPath(const TMessage& reply) {
        const char* path = nullptr;
        if (reply == nullptr || sd_bus_message_read(reply.get(), "o", &path) < 0) {
            return "";
        }
        return path;
    }

    std::string SessionPathByPid() {
        return ObjectPath(CallManager("GetSessionByPID", "u", static_cast<uint32_t>(::getpid())));
    }

    std::string OwnSessionPath() {
        const std::string id = SessionIdFromEnvironment();
        return id.empty() ? SessionPathByPid()
                          : ObjectPath(CallManager("GetSession", "s", id.c_str()));
    }

    std::string StringProperty(const std::string& path, const char* interface, const char* name) {
        if (path.empty()) {
            return "";
        }
        TBusError error;
        char* value = nullptr;
        if (sd_bus_get_property_string(FBus.get(), Service, path.c_str(), interface, name,
                                       error.Get(), &value) < 0) {
            return "";
        }
        const std::unique_ptr<char, TFree> owned(value);
        return owned.get();
    }

    TBus FBus;
    TUniqueFd FInhibitor;
};

}  // namespace

std::unique_ptr<ISessionManager> ConnectLogindSessionManager() {
    sd_bus* opened = nullptr;
    if (sd_bus_open_system(&opened) < 0) {
        return nullptr;
    }
    TBus bus(opened);
    if (sd_bus_set_method_call_timeout(bus.get(), CallTimeout.count()) < 0 ||
        !AwaitReady(bus.get())) {
        return nullptr;
    }
    return std::make_unique<TLogindSessionManager>(std::move(bus));
}

}  // namespace plintor
