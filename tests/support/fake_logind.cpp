// Stands in for logind on a private bus: it owns org.freedesktop.login1, writes one line per
// request to the record file before answering (so a caller that has its answer can read the
// line), and serves one session, "1". With --never-answer it records the power and session
// requests (PowerOff, Reboot, TerminateSession) and never answers them, as a hung logind.
//
//   fake_logind --bus ADDRESS [--record FILE] [--refuse | --never-answer] [--preparing]
//               [--session-state STATE]
//
// SIGUSR1 starts a simulated shutdown. Prints "ready" once the name is owned; exits with the bus.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/epoll.h>
#include <systemd/sd-bus.h>
#include <systemd/sd-event.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <list>
#include <memory>
#include <string>
#include <string_view>

#include "platform/posix/UniqueFd.h"

namespace plintor::test {
namespace {

constexpr char Service[] = "org.freedesktop.login1";
constexpr char ManagerPath[] = "/org/freedesktop/login1";
constexpr char ManagerInterface[] = "org.freedesktop.login1.Manager";
constexpr char SessionPath[] = "/org/freedesktop/login1/session/_31";
constexpr char SessionInterface[] = "org.freedesktop.login1.Session";
constexpr char SessionId[] = "1";
// What logind answers when the authorization policy says no.
constexpr char RefusedError[] = "org.freedesktop.DBus.Error.AccessDenied";
constexpr char NoSuchSessionError[] = "org.freedesktop.login1.NoSuchSession";

struct Options {
    std::string bus;
    std::string record;
    bool refuse = false;
    bool neverAnswer = false;
    bool preparing = false;
    std::string sessionState = "active";
};

struct BusUnref {
    void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
struct EventUnref {
    void operator()(sd_event* event) const { sd_event_unref(event); }
};
struct SourceUnref {
    void operator()(sd_event_source* source) const { sd_event_source_disable_unref(source); }
};
struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The watch goes before the descriptor it watches.
struct Inhibitor {
    UniqueFd writeEnd;
    std::unique_ptr<sd_event_source, SourceUnref> watch;
};

class FakeLogind {
public:
    explicit FakeLogind(Options options)
        : m_options(std::move(options)), m_preparing(m_options.preparing) {}

    int run() {
        if (!m_options.record.empty()) {
            m_record.reset(std::fopen(m_options.record.c_str(), "a"));
            if (m_record == nullptr) {
                std::perror("fake_logind: record file");
                return 1;
            }
        }
        if (!connect() || !serve() || !watch()) {
            return 1;
        }
        std::puts("ready");
        std::fflush(stdout);
        return sd_event_loop(m_event.get()) < 0 ? 1 : 0;
    }

private:
    bool connect() {
        sd_bus* bus = nullptr;
        const bool made = sd_bus_new(&bus) >= 0;
        m_bus.reset(bus);
        if (!made || sd_bus_set_address(bus, m_options.bus.c_str()) < 0 ||
            sd_bus_set_bus_client(bus, 1) < 0 || sd_bus_start(bus) < 0) {
            std::fputs("fake_logind: cannot connect to the bus\n", stderr);
            return false;
        }
        return true;
    }

    bool serve() {
        static const sd_bus_vtable manager[] = {
            SD_BUS_VTABLE_START(0),
            SD_BUS_METHOD("PowerOff", "b", "", onPowerRequest, 0),
            SD_BUS_METHOD("Reboot", "b", "", onPowerRequest, 0),
            SD_BUS_METHOD("TerminateSession", "s", "", onTerminateSession, 0),
            SD_BUS_METHOD("GetSession", "s", "o", onGetSession, 0),
            SD_BUS_METHOD("GetSessionByPID", "u", "o", onGetSessionByPid, 0),
            SD_BUS_METHOD("Inhibit", "ssss", "h", onInhibit, 0),
            SD_BUS_PROPERTY("PreparingForShutdown", "b", getPreparing, 0, 0),
            SD_BUS_SIGNAL("PrepareForShutdown", "b", 0),
            SD_BUS_VTABLE_END};
        static const sd_bus_vtable session[] = {
            SD_BUS_VTABLE_START(0),
            SD_BUS_PROPERTY("Id", "s", getSessionId, 0, SD_BUS_VTABLE_PROPERTY_CONST),
            SD_BUS_PROPERTY("State", "s", getSessionState, 0, 0), SD_BUS_VTABLE_END};
        if (sd_bus_add_object_vtable(m_bus.get(), nullptr, ManagerPath, ManagerInterface, manager,
                                     this) < 0 ||
            sd_bus_add_object_vtable(m_bus.get(), nullptr, SessionPath, SessionInterface, session,
                                     this) < 0 ||
            sd_bus_request_name(m_bus.get(), Service, 0) < 0) {
            std::fputs("fake_logind: cannot serve org.freedesktop.login1\n", stderr);
            return false;
        }
        return true;
    }

    bool watch() {
        sd_event* event = nullptr;
        const bool made = sd_event_new(&event) >= 0;
        m_event.reset(event);
        return made && sd_bus_attach_event(m_bus.get(), event, SD_EVENT_PRIORITY_NORMAL) >= 0 &&
               sd_bus_set_exit_on_disconnect(m_bus.get(), 1) >= 0 &&
               sd_event_add_signal(event, nullptr, SIGUSR1, onStartShutdown, this) >= 0 &&
               sd_event_add_signal(event, nullptr, SIGTERM, onQuit, this) >= 0 &&
               sd_event_add_signal(event, nullptr, SIGINT, onQuit, this) >= 0;
    }

    static FakeLogind& fromUserData(void* data) { return *static_cast<FakeLogind*>(data); }

    // Releases are looked for before each line as well as by the event loop, so a caller that
    // closed its descriptor before its next request finds the release recorded ahead of it.
    void record(const std::string& line) {
        noteReleasedInhibitors();
        if (m_record != nullptr) {
            std::fprintf(m_record.get(), "%s\n", line.c_str());
            std::fflush(m_record.get());
        }
    }

    int refused(sd_bus_error* error) const {
        return sd_bus_error_set(error, RefusedError, "Refused by the test's logind");
    }

    static int onPowerRequest(sd_bus_message* call, void* data, sd_bus_error* error) {
        int interactive = 0;
        const int read = sd_bus_message_read(call, "b", &interactive);
        if (read < 0) {
            return read;
        }
        FakeLogind& self = fromUserData(data);
        self.record(std::string(sd_bus_message_get_member(call)) +
                    (interactive != 0 ? " true" : " false"));
        if (self.m_options.neverAnswer) {
            return 1;  // handled without a reply: the caller waits (0 would make sd-bus refuse)
        }
        return self.m_options.refuse ? self.refused(error)
                                     : sd_bus_reply_method_return(call, nullptr);
    }

    static int onTerminateSession(sd_bus_message* call, void* data, sd_bus_error* error) {
        const char* id = nullptr;
        const int read = sd_bus_message_read(call, "s", &id);
        if (read < 0) {
            return read;
        }
        FakeLogind& self = fromUserData(data);
        self.record(std::string("TerminateSession ") + id);
        if (self.m_options.neverAnswer) {
            return 1;
        }
        if (self.m_options.refuse) {
            return self.refused(error);
        }
        if (std::string_view(id) != SessionId) {
            return sd_bus_error_setf(error, NoSuchSessionError, "No session '%s' known", id);
        }
        return sd_bus_reply_method_return(call, nullptr);
    }

    static int onGetSession(sd_bus_message* call, void* data, sd_bus_error* error) {
        const char* id = nullptr;
        const int read = sd_bus_message_read(call, "s", &id);
        if (read < 0) {
            return read;
        }
        fromUserData(data).record(std::string("GetSession ") + id);
        if (std::string_view(id) != SessionId) {
            return sd_bus_error_setf(error, NoSuchSessionError, "No session '%s' known", id);
        }
        return sd_bus_reply_method_return(call, "o", SessionPath);
    }

    // Every process belongs to session 1 here; the record shows which process was asked for.
    static int onGetSessionByPid(sd_bus_message* call, void* data, sd_bus_error*) {
        uint32_t pid = 0;
        const int read = sd_bus_message_read(call, "u", &pid);
        if (read < 0) {
            return read;
        }
        fromUserData(data).record("GetSessionByPID " + std::to_string(pid));
        return sd_bus_reply_method_return(call, "o", SessionPath);
    }

    // logind hands out one end of a pipe: the inhibitor lasts while the caller holds it open.
    static int onInhibit(sd_bus_message* call, void* data, sd_bus_error* error) {
        const char *what = nullptr, *who = nullptr, *why = nullptr, *mode = nullptr;
        const int read = sd_bus_message_read(call, "ssss", &what, &who, &why, &mode);
        if (read < 0) {
            return read;
        }
        FakeLogind& self = fromUserData(data);
        self.record(std::string("Inhibit ") + what + " " + who + " " + mode);
        if (self.m_options.refuse) {
            return self.refused(error);
        }
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
            return sd_bus_error_set_errno(error, errno);
        }
        const UniqueFd readEnd(ends[0]);
        Inhibitor inhibitor{UniqueFd(ends[1]), nullptr};
        sd_event_source* watch = nullptr;
        if (sd_event_add_io(self.m_event.get(), &watch, inhibitor.writeEnd.get(),
                            EPOLLERR | EPOLLHUP, onInhibitorClosed, data) < 0) {
            return sd_bus_error_set_errno(error, EIO);
        }
        inhibitor.watch.reset(watch);
        self.m_inhibitors.push_back(std::move(inhibitor));
        return sd_bus_reply_method_return(call, "h", readEnd.get());
    }

    static int onInhibitorClosed(sd_event_source*, int, uint32_t, void* data) {
        fromUserData(data).noteReleasedInhibitors();
        return 0;
    }

    void noteReleasedInhibitors() {
        for (auto it = m_inhibitors.begin(); it != m_inhibitors.end();) {
            pollfd state{it->writeEnd.get(), 0, 0};
            if (::poll(&state, 1, 0) != 1 || (state.revents & (POLLERR | POLLHUP)) == 0) {
                ++it;
                continue;
            }
            if (m_record != nullptr) {
                std::fputs("Inhibitor released\n", m_record.get());
                std::fflush(m_record.get());
            }
            it = m_inhibitors.erase(it);
        }
    }

    static int getPreparing(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                            void* data, sd_bus_error*) {
        return sd_bus_message_append(reply, "b", static_cast<int>(fromUserData(data).m_preparing));
    }

    static int getSessionId(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                            void*, sd_bus_error*) {
        return sd_bus_message_append(reply, "s", SessionId);
    }

    static int getSessionState(sd_bus*, const char*, const char*, const char*,
                               sd_bus_message* reply, void* data, sd_bus_error*) {
        return sd_bus_message_append(reply, "s", fromUserData(data).m_options.sessionState.c_str());
    }

    static int onStartShutdown(sd_event_source*, const signalfd_siginfo*, void* data) {
        FakeLogind& self = fromUserData(data);
        self.m_preparing = true;
        sd_bus_emit_signal(self.m_bus.get(), ManagerPath, ManagerInterface, "PrepareForShutdown",
                           "b", 1);
        return 0;
    }

    static int onQuit(sd_event_source* source, const signalfd_siginfo*, void*) {
        return sd_event_exit(sd_event_source_get_event(source), 0);
    }

    Options m_options;
    bool m_preparing;
    std::unique_ptr<std::FILE, FileClose> m_record;
    // The event loop goes last: the bus and the watches detach from it first.
    std::unique_ptr<sd_event, EventUnref> m_event;
    std::unique_ptr<sd_bus, BusUnref> m_bus;
    std::list<Inhibitor> m_inhibitors;  // a list: erasing moves no other watch
};

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--bus" && hasValue) {
            options.bus = argv[++i];
        } else if (option == "--record" && hasValue) {
            options.record = argv[++i];
        } else if (option == "--session-state" && hasValue) {
            options.sessionState = argv[++i];
        } else if (option == "--refuse") {
            options.refuse = true;
        } else if (option == "--never-answer") {
            options.neverAnswer = true;
        } else if (option == "--preparing") {
            options.preparing = true;
        } else {
            return false;
        }
    }
    return !options.bus.empty();
}

}  // namespace
}  // namespace plintor::test

int main(int argc, char** argv) {
    plintor::test::Options options;
    if (!plintor::test::parseOptions(argc, argv, options)) {
        std::fputs(
            "usage: fake_logind --bus ADDRESS [--record FILE] [--refuse | --never-answer] "
            "[--preparing] [--session-state STATE]\n",
            stderr);
        return 2;
    }
    // The event loop takes these through a signalfd, which needs them blocked; blocked before
    // "ready", so an early SIGUSR1 is not fatal.
    sigset_t handled;
    sigemptyset(&handled);
    sigaddset(&handled, SIGUSR1);
    sigaddset(&handled, SIGTERM);
    sigaddset(&handled, SIGINT);
    sigprocmask(SIG_BLOCK, &handled, nullptr);
    return plintor::test::FakeLogind(std::move(options)).run();
}
