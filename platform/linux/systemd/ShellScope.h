#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/lockdown/DesktopRecord.h"

namespace plintor {

// Where a shell program that the kiosk starts again lives. Run as a service of the user's
// service manager, the kiosk's control group is its unit's, and the unit's stop ends whatever is
// left in it (KillMode=mixed, after ExecStopPost, where --restore-desktop runs): a shell started
// into it would be ended with the kiosk. So it is started in a scope of its own (systemd-run
// --user --scope), which moves it out of the unit before it runs; without a service manager
// there is no such group, and it is started directly.
class ShellScope {
public:
    // `scopeRunner`: the systemd-run program; empty to start programs directly.
    explicit ShellScope(std::string scopeRunner) : m_scopeRunner(std::move(scopeRunner)) {}
    // The scope runner when this process runs in a service unit of the user's service manager
    // (`cgroupText`: the text of /proc/self/cgroup) and the manager is reachable with the
    // shell's environment; none otherwise.
    static ShellScope forProcess(std::string_view cgroupText,
                                 const std::vector<std::string>& environment);
    // True when the control group named in `cgroupText` is a service of a user's manager.
    static bool isUserService(std::string_view cgroupText);

    bool usesScope() const { return !m_scopeRunner.empty(); }
    // The program file to run and its arguments, for `command` whose program file is
    // `programPath`.
    std::vector<std::string> arguments(const ShellCommand& command,
                                       const std::string& programPath) const;
    const std::string& program(const std::string& programPath) const {
        return usesScope() ? m_scopeRunner : programPath;
    }

private:
    std::string m_scopeRunner;
};

}  // namespace plintor
