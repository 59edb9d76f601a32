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
#include "platform/linux/LinuxServices.h"
#include "platform/posix/UniqueFd.h"

namespace plintor {
namespace {

constexpr std::chrono::microseconds CallTimeout = std::chrono::seconds(5);

constexpr char Service[] = "org.freedesktop.login1";
constexpr char ManagerPath[] = "/org/freedesktop/login1";
constexpr char ManagerInterface[] = "org.freedesktop.login1.Manager";
constexpr char SessionInterface[] = "org.freedesktop.login1.Session";

struct BusClose {
    // Closing without flushing: a flush waits without limit for a peer that stopped reading.
    void operator()(sd_bus* bus) const { sd_bus_close_unref(bus); }
};
struct MessageUnref {
    void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
struct FreeDeleter {
    void operator()(char* text) const { std::free(text); }
};
using Bus = std::unique_ptr<sd_bus, BusClose>;
using BusMessage = std::unique_ptr<sd_bus_message, MessageUnref>;

class BusError {
public:
    BusError() = default;
    ~BusError() { sd_bus_error_free(&m_error); }
    BusError(const BusError&) = delete;
    BusError& operator=(const BusError&) = delete;

    sd_bus_error* get() { return &m_error; }

private:
    sd_bus_error m_error = SD_BUS_ERROR_NULL;
};

// sd-bus would otherwise finish the handshake inside the first call, under its own 90-second
// authentication limit.
bool awaitReady(sd_bus* bus) {
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

std::string sessionIdFromEnvironment() {
    const char* id = std::getenv("XDG_SESSION_ID");
    return id != nullptr ? id : "";
}

class LogindSessionManager final : public SessionManager {
public:
    explicit LogindSessionManager(Bus bus) : m_bus(std::move(bus)) {}

    bool powerOff() override { return callManager("PowerOff", "b", 0) != nullptr; }
    bool reboot() override { return callManager("Reboot", "b", 0) != nullptr; }

    bool terminateOwnSession() override {
        std::string id = sessionIdFromEnvironment();
        if (id.empty()) {
            id = stringProperty(sessionPathByPid(), SessionInterface, "Id");
        }
        return !id.empty() && callManager("TerminateSession", "s", id.c_str()) != nullptr;
    }

    bool inhibitSleep() override {
        if (m_inhibitor.isOpen()) {
            return true;
        }
        const BusMessage reply = callManager("Inhibit", "ssss", "sleep:idle", "Plintor",
                                             "A public terminal stays available", "block");
        int fd = -1;
        if (reply == nullptr || sd_bus_message_read(reply.get(), "h", &fd) < 0) {
            return false;
        }
        // The reply owns its descriptor and closes it when freed, which would end the inhibitor.
        m_inhibitor = UniqueFd(::fcntl(fd, F_DUPFD_CLOEXEC, 3));
        return m_inhibitor.isOpen();
    }

    void releaseSleepInhibitor() override { m_inhibitor.close(); }

    bool sessionEnding() override {
        int preparing = 0;
        BusError error;
        if (sd_bus_get_property_trivial(m_bus.get(), Service, ManagerPath, ManagerInterface,
                                        "PreparingForShutdown", error.get(), 'b', &preparing) < 0) {
            return false;
        }
        return preparing != 0 ||
               stringProperty(ownSessionPath(), SessionInterface, "State") == "closing";
    }

private:
    // The time limit comes from sd_bus_set_method_call_timeout on the connection.
    template <typename... Args>
    BusMessage callManager(const char* member, const char* types, Args... args) {
        BusError error;
        sd_bus_message* reply = nullptr;
        if (sd_bus_call_method(m_bus.get(), Service, ManagerPath, ManagerInterface, member,
                               error.get(), &reply, types, args...) < 0) {
            return nullptr;
        }
        return BusMessage(reply);
    }

    std::string objectPath(const BusMessage& reply) {
        const char* path = nullptr;
        if (reply == nullptr || sd_bus_message_read(reply.get(), "o", &path) < 0) {
            return "";
        }
        return path;
    }

    std::string sessionPathByPid() {
        return objectPath(callManager("GetSessionByPID", "u", static_cast<uint32_t>(::getpid())));
    }

    std::string ownSessionPath() {
        const std::string id = sessionIdFromEnvironment();
        return id.empty() ? sessionPathByPid()
                          : objectPath(callManager("GetSession", "s", id.c_str()));
    }

    std::string stringProperty(const std::string& path, const char* interface, const char* name) {
        if (path.empty()) {
            return "";
        }
        BusError error;
        char* value = nullptr;
        if (sd_bus_get_property_string(m_bus.get(), Service, path.c_str(), interface, name,
                                       error.get(), &value) < 0) {
            return "";
        }
        const std::unique_ptr<char, FreeDeleter> owned(value);
        return owned.get();
    }

    Bus m_bus;
    UniqueFd m_inhibitor;
};

}  // namespace

std::unique_ptr<SessionManager> connectLogindSessionManager() {
    sd_bus* opened = nullptr;
    if (sd_bus_open_system(&opened) < 0) {
        return nullptr;
    }
    Bus bus(opened);
    if (sd_bus_set_method_call_timeout(bus.get(), CallTimeout.count()) < 0 ||
        !awaitReady(bus.get())) {
        return nullptr;
    }
    return std::make_unique<LogindSessionManager>(std::move(bus));
}

}  // namespace plintor
