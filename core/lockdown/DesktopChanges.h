#pragma once

#include <string>
#include <vector>

#include "core/lockdown/DesktopRecord.h"
#include "core/lockdown/DesktopRecordFile.h"

namespace plintor {

// The platform's hands for putting back what a killed run left changed on the desktop.
class DesktopRepairs {
public:
    virtual ~DesktopRepairs() = default;
    // Switches display power saving on again; false when the display has none.
    virtual bool switchPowerSavingOn() = 0;
    // Starts these shell programs again (and tells the changes which stay stopped); the start's
    // result as a shell start gives it.
    virtual int startShellAgain(const std::vector<ShellCommand>& commands) = 0;
};

// What the kiosk has changed on the desktop now, written to the record file with every change,
// so that the next run (or --restore-desktop) puts back what a killed one could not. The
// platform only says what it stopped and started; what the record holds, and when, is decided
// here, once for every platform.
class DesktopChanges {
public:
    // From now on the record is kept in `fileName`. First puts back, through `repairs`, what a
    // record left there by an earlier run names; says what it put back, empty when nothing.
    std::string keepIn(const std::string& fileName, DesktopRepairs& repairs);

    // A shell program is about to be stopped: empty once the record names it, else why it
    // cannot be named (the program must then not be stopped: nothing would start it again).
    std::string shellStopping(const ShellCommand& command);
    // The shell programs that are still stopped, after some were started again.
    void shellStillStopped(std::vector<ShellCommand> commands);
    // Whether display power saving is switched off now while it was on before.
    void powerSavingHeldOff(bool heldOff);

    const DesktopRecord& record() const { return m_record; }

private:
    // A record that cannot be written now is written with the next change, or by the next run.
    void save() const { m_file.save(m_record); }

    DesktopRecordFile m_file;
    DesktopRecord m_record;
};

}  // namespace plintor
