#include "platform/ProcessProtection.h"
#include "platform/linux/LinuxServices.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <initializer_list>
#include <memory>

namespace plintor {
namespace {

// A signal handler reaches nothing but the process's globals: the pipe it writes to.
int RefusedRead = -1;
int RefusedWrite = -1;

// A handler rather than SIG_IGN: ignored signals would stay ignored in every program the
// kiosk starts (the browser's helpers, the converter), a handler is reset by exec. It only
// tells the user-interface loop, which decides whether the session is ending.
void refuseSignal(int) {
    const int savedErrno = errno;
    const char signalled = 1;
    [[maybe_unused]] const ssize_t written = ::write(RefusedWrite, &signalled, 1);
    errno = savedErrno;
}

class SignalProtection final : public ProcessProtection {
public:
    bool protect() override;
    int refusedSignalDescriptor() const override { return RefusedRead; }
    void takeRefusedSignals() override;
};

bool SignalProtection::protect() {
    int ends[2];
    if (RefusedRead < 0 && ::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
        RefusedRead = ends[0];
        RefusedWrite = ends[1];
    }
    struct sigaction refuse {};
    refuse.sa_handler = refuseSignal;
    refuse.sa_flags = SA_RESTART;
    sigemptyset(&refuse.sa_mask);
    bool protectedAll = RefusedRead >= 0;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGTSTP}) {
        protectedAll = ::sigaction(signal, &refuse, nullptr) == 0 && protectedAll;
    }
    return ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0 && protectedAll;
}

void SignalProtection::takeRefusedSignals() {
    char buffer[64];
    while (::read(RefusedRead, buffer, sizeof buffer) > 0) {
    }
}

}  // namespace

std::unique_ptr<ProcessProtection> createSignalProtection() {
    return std::make_unique<SignalProtection>();
}

}  // namespace plintor
