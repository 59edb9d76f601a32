// Stands in for logind on a private bus: it owns org.freedesktop.login1, writes one line per
// request to the record file before answering (so a caller that has its answer can read the
// line), and serves one session, "1".
//
//   fake_logind --bus ADDRESS [--record FILE] [--refuse] [--preparing] [--session-state STATE]
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

struct TOptions {
    std::string Bus;
    std::string Record;
    bool Refuse = false;
    bool Preparing = false;
    std::string SessionState = "active";
};

struct TBusUnref {
    void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
struct TEventUnref {
    void operator()(sd_event* event) const { sd_event_unref(event); }
};
struct TSourceUnref {
    void operator()(sd_event_source* source) const { sd_event_source_disable_unref(source); }
};
struct TFileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The watch goes before the descriptor it watches.
struct TInhibitor {
    TUniqueFd WriteEnd;
    std::unique_ptr<sd_event_source, TSourceUnref> Watch;
};

class TFakeLogind {
public:
    explicit TFakeLogind(TOptions options)
        : FOptions(std::move(options)), FPreparing(FOptions.Preparing) {}

    int Run() {
        if (!FOptions.Record.empty()) {
            FRecord.reset(std::fopen(FOptions.Record.c_str(), "a"));
            if (FRecord == nullptr) {
                std::perror("fake_logind: record file");
                return 1;
            }
        }
        if (!Connect() || !Serve() || !Watch()) {
            return 1;
        }
        std::puts("ready");
        std::fflush(stdout);
        return sd_event_loop(FEvent.get()) < 0 ? 1 : 0;
    }

private:
    bool Connect() {
        sd_bus* bus = nullptr;
        const bool made = sd_bus_new(&bus) >= 0;
        FBus.reset(bus);
        if (!made || sd_bus_set_address(bus, FOptions.Bus.c_str()) < 0 ||
            sd_bus_set_bus_client(bus, 1) < 0 || sd_bus_start(bus) < 0) {
            std::fputs("fake_logind: cannot connect to the bus\n", stderr);
            return false;
        }
        return true;
    }

    bool Serve() {
        static const sd_bus_vtable manager[] = {
            SD_BUS_VTABLE_START(0),
            SD_BUS_METHOD("PowerOff", "b", "", OnPowerRequest, 0),
            SD_BUS_METHOD("Reboot", "b", "", OnPowerRequest, 0),
            SD_BUS_METHOD("TerminateSession", "s", "", OnTerminateSession, 0),
            SD_BUS_METHOD("GetSession", "s", "o", OnGetSession, 0),
            SD_BUS_METHOD("GetSessionByPID", "u", "o", OnGetSessionByPid, 0),
            SD_BUS_METHOD("Inhibit", "ssss", "h", OnInhibit, 0),
            SD_BUS_PROPERTY("PreparingForShutdown", "b", GetPreparing, 0, 0),
            SD_BUS_SIGNAL("PrepareForShutdown", "b", 0),
            SD_BUS_VTABLE_END};
        static const sd_bus_vtable session[] = {
            SD_BUS_VTABLE_START(0),
            SD_BUS_PROPERTY("Id", "s", GetSessionId, 0, SD_BUS_VTABLE_PROPERTY_CONST),
            SD_BUS_PROPERTY("State", "s", GetSessionState, 0, 0), SD_BUS_VTABLE_END};
        if (sd_bus_add_object_vtable(FBus.get(), nullptr, ManagerPath, ManagerInterface, manager,
                                     this) < 0 ||
            sd_bus_add_object_vtable(FBus.get(), nullptr, SessionPath, SessionInterface, session,
                                     this) < 0 ||
            sd_bus_request_name(FBus.get(), Service, 0) < 0) {
            std::fputs("fake_logind: cannot serve org.freedesktop.login1\n", stderr);
            return false;
        }
        return true;
    }

    bool Watch() {
        sd_event* event = nullptr;
        const bool made = sd_event_new(&event) >= 0;
        FEvent.reset(event);
        return made && sd_bus_attach_event(FBus.get(), event, SD_EVENT_PRIORITY_NORMAL) >= 0 &&
               sd_bus_set_exit_on_disconnect(FBus.get(), 1) >= 0 &&
               sd_event_add_signal(event, nullptr, SIGUSR1, OnStartShutdown, this) >= 0 &&
               sd_event_add_signal(event, nullptr, SIGTERM, OnQuit, this) >= 0 &&
               sd_event_add_signal(event, nullptr, SIGINT, OnQuit, this) >= 0;
    }

    static TFakeLogind& Self(void* data) { return *static_cast<TFakeLogind*>(data); }

    // Releases are looked for before each line as well as by the event loop, so a caller that
    // closed its descriptor before its next request finds the release recorded ahead of it.
    void Record(const std::string& line) {
        NoteReleasedInhibitors();
        if (FRecord != nullptr) {
            std::fprintf(FRecord.get(), "%s\n", line.c_str());
            std::fflush(FRecord.get());
        }
    }

    int Refused(sd_bus_error* error) const {
        return sd_bus_error_set(error, RefusedError, "Refused by the test's logind");
    }

    static int OnPowerRequest(sd_bus_message* call, void* data, sd_bus_error* error) {
        int interactive = 0;
        const int read = sd_bus_message_read(call, "b", &interactive);
        if (read < 0) {
            return read;
        }
        TFakeLogind& self = Self(data);
        self.Record(std::string(sd_bus_message_get_member(call)) +
                    (interactive != 0 ? " true" : " false"));
        return self.FOptions.Refuse ? self.Refused(error)
                                    : sd_bus_reply_method_return(call, nullptr);
    }

    static int OnTerminateSession(sd_bus_message* call, void* data, sd_bus_error* error) {
        const char* id = nullptr;
        const int read = sd_bus_message_read(call, "s", &id);
        if (read < 0) {
            return read;
        }
        TFakeLogind& self = Self(data);
        self.Record(std::string("TerminateSession ") + id);
        if (self.FOptions.Refuse) {
            return self.Refused(error);
        }
        if (std::string_view(id) != SessionId) {
            return sd_bus_error_setf(error, NoSuchSessionError, "No session '%s' known", id);
        }
        return sd_bus_reply_method_return(call, nullptr);
    }

    static int OnGetSession(sd_bus_message* call, void* data, sd_bus_error* error) {
        const char* id = nullptr;
        const int read = sd_bus_message_read(call, "s", &id);
        if (read < 0) {
            return read;
        }
        Self(data).Record(std::string("GetSession ") + id);
        if (std::string_view(id) != SessionId) {
            return sd_bus_error_setf(error, NoSuchSessionError, "No session '%s' known", id);
        }
        return sd_bus_reply_method_return(call, "o", SessionPath);
    }

    // Every process belongs to session 1 here; the record shows which process was asked for.
    static int OnGetSessionByPid(sd_bus_message* call, void* data, sd_bus_error*) {
        uint32_t pid = 0;
        const int read = sd_bus_message_read(call, "u", &pid);
        if (read < 0) {
            return read;
        }
        Self(data).Record("GetSessionByPID " + std::to_string(pid));
        return sd_bus_reply_method_return(call, "o", SessionPath);
    }

    // logind hands out one end of a pipe: the inhibitor lasts while the caller holds it open.
    static int OnInhibit(sd_bus_message* call, void* data, sd_bus_error* error) {
        const char *what = nullptr, *who = nullptr, *why = nullptr, *mode = nullptr;
        const int read = sd_bus_message_read(call, "ssss", &what, &who, &why, &mode);
        if (read < 0) {
            return read;
        }
        TFakeLogind& self = Self(data);
        self.Record(std::string("Inhibit ") + what + " " + who + " " + mode);
        if (self.FOptions.Refuse) {
            return self.Refused(error);
        }
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
            return sd_bus_error_set_errno(error, errno);
        }
        const TUniqueFd readEnd(ends[0]);
        TInhibitor inhibitor{TUniqueFd(ends[1]), nullptr};
        sd_event_source* watch = nullptr;
        if (sd_event_add_io(self.FEvent.get(), &watch, inhibitor.WriteEnd.Get(),
                            EPOLLERR | EPOLLHUP, OnInhibitorClosed, data) < 0) {
            return sd_bus_error_set_errno(error, EIO);
        }
        inhibitor.Watch.reset(watch);
        self.FInhibitors.push_back(std::move(inhibitor));
        return sd_bus_reply_method_return(call, "h", readEnd.Get());
    }

    static int OnInhibitorClosed(sd_event_source*, int, uint32_t, void* data) {
        Self(data).NoteReleasedInhibitors();
        return 0;
    }

    void NoteReleasedInhibitors() {
        for (auto it = FInhibitors.begin(); it != FInhibitors.end();) {
            pollfd state{it->WriteEnd.Get(), 0, 0};
            if (::poll(&state, 1, 0) != 1 || (state.revents & (POLLERR | POLLHUP)) == 0) {
                ++it;
                continue;
            }
            if (FRecord != nullptr) {
                std::fputs("Inhibitor released\n", FRecord.get());
                std::fflush(FRecord.get());
            }
            it = FInhibitors.erase(it);
        }
    }

    static int GetPreparing(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                            void* data, sd_bus_error*) {
        return sd_bus_message_append(reply, "b", static_cast<int>(Self(data).FPreparing));
    }

    static int GetSessionId(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                            void*, sd_bus_error*) {
        return sd_bus_message_append(reply, "s", SessionId);
    }

    static int GetSessionState(sd_bus*, const char*, const char*, const char*,
                               sd_bus_message* reply, void* data, sd_bus_error*) {
        return sd_bus_message_append(reply, "s", Self(data).FOptions.SessionState.c_str());
    }

    static int OnStartShutdown(sd_event_source*, const signalfd_siginfo*, void* data) {
        TFakeLogind& self = Self(data);
        self.FPreparing = true;
        sd_bus_emit_signal(self.FBus.get(), ManagerPath, ManagerInterface, "PrepareForShutdown",
                           "b", 1);
        return 0;
    }

    static int OnQuit(sd_event_source* source, const signalfd_siginfo*, void*) {
        return sd_event_exit(sd_event_source_get_event(source), 0);
    }

    TOptions FOptions;
    bool FPreparing;
    std::unique_ptr<std::FILE, TFileClose> FRecord;
    // The event loop goes last: the bus and the watches detach from it first.
    std::unique_ptr<sd_event, TEventUnref> FEvent;
    std::unique_ptr<sd_bus, TBusUnref> FBus;
    std::list<TInhibitor> FInhibitors;  // a list: erasing moves no other watch
};

bool ParseOptions(int argc, char** argv, TOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--bus" && hasValue) {
            options.Bus = argv[++i];
        } else if (option == "--record" && hasValue) {
            options.Record = argv[++i];
        } else if (option == "--session-state" && hasValue) {
            options.SessionState = argv[++i];
        } else if (option == "--refuse") {
            options.Refuse = true;
        } else if (option == "--preparing") {
            options.Preparing = true;
        } else {
            return false;
        }
    }
    return !options.Bus.empty();
}

}  // namespace
}  // namespace plintor::test

int main(int argc, char** argv) {
    plintor::test::TOptions options;
    if (!plintor::test::ParseOptions(argc, argv, options)) {
        std::fputs(
            "usage: fake_logind --bus ADDRESS [--record FILE] [--refuse] [--preparing] "
            "[--session-state STATE]\n",
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
    return plintor::test::TFakeLogind(std::move(options)).Run();
}
