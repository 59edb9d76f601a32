#include "ProcessProtection.h"

#include <sys/prctl.h>

#include <csignal>
#include <initializer_list>

namespace plintor {
namespace {

// A handler rather than SIG_IGN: ignored signals would stay ignored in every program the
// kiosk starts (the browser's helpers, the converter), a handler is reset by exec.
void RefuseSignal(int) {}

}  // namespace

bool ProtectProcess() {
    struct sigaction refuse {};
    refuse.sa_handler = RefuseSignal;
    refuse.sa_flags = SA_RESTART;
    sigemptyset(&refuse.sa_mask);
    bool protectedAll = true;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGTSTP}) {
        protectedAll = ::sigaction(signal, &refuse, nullptr) == 0 && protectedAll;
    }
    return ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0 && protectedAll;
}

}  // namespace plintor
