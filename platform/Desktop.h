#pragma once

#include <string>

namespace plintor {

class DesktopEvents;
class DesktopShell;
class DisplayPower;
class ForeignWindows;
class WindowStacking;

// The desktop around the kiosk window (on Linux: the X11 display of the session): one
// connection that serves each of its jobs behind a port of its own.
class Desktop {
public:
    virtual ~Desktop() = default;

    virtual ForeignWindows& foreignWindows() = 0;
    virtual DesktopShell& shell() = 0;
    virtual WindowStacking& stacking() = 0;
    virtual DisplayPower& displayPower() = 0;
    virtual DesktopEvents& events() = 0;

    // From now on keeps a record of what is to be put back (stopped shell programs, display
    // power saving switched off) in this file while there is any, so that a run that is killed
    // before it could put things back is repaired by the next one. First puts back what a
    // record left by an earlier run names; says what it put back, empty when nothing.
    virtual std::string keepChangesRecord(const std::string& fileName) = 0;
};

}  // namespace plintor
