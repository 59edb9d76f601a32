#pragma once

#include <string>
#include <vector>

#include "core/lockdown/DesktopChanges.h"
#include "platform/DesktopShell.h"
#include "platform/linux/posix/ShellLauncher.h"
#include "platform/linux/x11/X11DesktopPrograms.h"
#include "platform/linux/x11/X11DesktopWatch.h"

namespace plintor {

class X11Shell final : public DesktopShell {
public:
    X11Shell(X11DesktopWatch& watch, const X11DesktopPrograms& programs, DesktopChanges& changes)
        : m_watch(watch), m_programs(programs), m_changes(changes) {}

    bool stopShell() override;
    std::string shellStopWithheld() const override { return m_shellStopWithheld; }
    int startShell() override;
    // Starts shell programs an earlier run stopped, with those this one remembers.
    int startAgain(const std::vector<ShellCommand>& commands);

private:
    X11DesktopWatch& m_watch;
    const X11DesktopPrograms& m_programs;
    DesktopChanges& m_changes;
    ShellLauncher m_launcher;
    std::string m_shellStopWithheld;
    unsigned long m_checkedAt = 0;
};

}  // namespace plintor
