#pragma once

#include <optional>
#include <string>

#include "core/lockdown/DesktopRecord.h"

namespace plintor {

// The file that keeps a run's DesktopRecord while it has anything changed on the desktop, so
// that the next run (or --restore-desktop) puts back what a killed one could not. A change is
// made only once the record that undoes it is written: a change nothing knows of would stay.
class DesktopRecordFile {
public:
    // What an earlier run left in the file.
    struct Leftover {
        std::optional<DesktopRecord> record;  // none when there was no file, or a damaged one
        bool damaged = false;
    };

    // From now on the record is kept in `fileName`; returns what an earlier run left there.
    Leftover keepIn(const std::string& fileName);
    bool kept() const { return !m_fileName.empty(); }
    const std::string& fileName() const { return m_fileName; }

    // Writes the record whole, or removes the file when the record is empty. Empty when done
    // (or when no file is kept yet), else why not, for the log; the file is then as it was.
    std::string save(const DesktopRecord& record) const;

private:
    std::string m_fileName;
};

}  // namespace plintor
