#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/lockdown/DesktopRecord.h"

namespace plintor {

// Remembers the desktop shell's command lines before the shell is ended, and starts them again.
class ShellLauncher {
public:
    // How the process was started; none when its command line cannot be read (it is gone, or
    // it is a kernel thread).
    static std::optional<ShellCommand> commandOf(long processId);

    // Starts every remembered command line detached from us (own session, never our zombie),
    // outside the kiosk's service unit when it runs as one (see ShellScope).
    // Above 32 for success (the first started process id, at least 33), 2 when nothing is
    // remembered, else a failure code of 32 or below (2: program file missing, 3: folder
    // missing, 5: access denied, 8: out of memory, 11: not a program, 0: any other failure).
    // Started command lines are forgotten; ones that failed stay for another try.
    int startAll();

    // The command lines remembered and not started yet.
    const std::vector<ShellCommand>& commands() const { return m_commands; }
    // Takes over command lines remembered by another run, once each.
    void adopt(const std::vector<ShellCommand>& commands);

private:
    std::vector<ShellCommand> m_commands;
};

}  // namespace plintor
