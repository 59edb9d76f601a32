#include "platform/linux/x11/X11Shell.h"

#include <csignal>
#include <optional>

#include "platform/linux/x11/X11Connection.h"

namespace plintor {

// A shell whose command line cannot be read is ended all the same: the lockdown comes first.
// One whose command line is known is ended only once the record names it: after a kill, nothing
// else would start it again. One that was asked to end is looked for again next time: it may
// take its time, or refuse; so is one left running for want of its record.
bool X11Shell::stopShell() {
    m_watch.readEvents();
    if (m_checkedAt == m_watch.generation()) {
        return false;
    }
    const unsigned long generation = m_watch.generation();
    X11ErrorTrap trap(m_watch.dpy());
    bool signalled = false;
    m_shellStopWithheld.clear();
    for (const long processId : m_programs.shellProcessIds()) {
        if (const std::optional<ShellCommand> command = ShellLauncher::commandOf(processId)) {
            m_shellStopWithheld = m_changes.shellStopping(*command);
            if (!m_shellStopWithheld.empty()) {
                break;
            }
            m_launcher.adopt({*command});
        }
        signalled = ::kill(static_cast<pid_t>(processId), SIGTERM) == 0 || signalled;
    }
    m_checkedAt = signalled || !m_shellStopWithheld.empty() ? 0 : generation;
    return signalled;
}

int X11Shell::startShell() {
    const int result = m_launcher.startAll();
    m_changes.shellStillStopped(m_launcher.commands());
    return result;
}

int X11Shell::startAgain(const std::vector<ShellCommand>& commands) {
    m_launcher.adopt(commands);
    return startShell();
}

}  // namespace plintor
