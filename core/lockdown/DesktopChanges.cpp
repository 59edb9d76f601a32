#include "core/lockdown/DesktopChanges.h"

#include <algorithm>
#include <utility>

namespace plintor {

std::string DesktopChanges::keepIn(const std::string& fileName, DesktopRepairs& repairs) {
    const DesktopRecordFile::Leftover leftover = m_file.keepIn(fileName);
    std::string repaired;
    if (leftover.damaged) {
        repaired = "its record " + fileName + " was damaged and is dropped";
    } else if (leftover.record) {
        if (leftover.record->powerSavingWasOn && repairs.switchPowerSavingOn()) {
            repaired = "display power saving is on again";
        }
        if (!leftover.record->stoppedShell.empty()) {
            const int started = repairs.startShellAgain(leftover.record->stoppedShell);
            repaired += std::string(repaired.empty() ? "" : ", ") +
                        "the desktop shell is started again (" + std::to_string(started) + ")";
        }
    }
    save();
    return repaired;
}

// A shell that was asked to end and is still there is asked again: it is named once.
std::string DesktopChanges::shellStopping(const ShellCommand& command) {
    if (std::find(m_record.stoppedShell.begin(), m_record.stoppedShell.end(), command) !=
        m_record.stoppedShell.end()) {
        return {};
    }
    DesktopRecord record = m_record;
    record.stoppedShell.push_back(command);
    const std::string why = m_file.save(record);
    if (why.empty()) {
        m_record = std::move(record);
    }
    return why;
}

void DesktopChanges::shellStillStopped(std::vector<ShellCommand> commands) {
    m_record.stoppedShell = std::move(commands);
    save();
}

void DesktopChanges::powerSavingHeldOff(bool heldOff) {
    m_record.powerSavingWasOn = heldOff;
    save();
}

}  // namespace plintor
