#pragma once

#include <memory>
#include <string>

namespace plintor {

// The desktop around the kiosk window (on Linux: the X11 display of the session).
class DesktopControl {
public:
    virtual ~DesktopControl() = default;

    // One pass over the other programs' top-level windows: protected ones stay, the desktop
    // shell's titled windows are asked to close, every other program is ended. True when it
    // asked nothing to go; false when a window may still be there and wants another look.
    virtual bool closeForeignWindows() = 0;

    // Ends the desktop shell (the programs owning dock and desktop windows) after remembering
    // how to start it again; true when one was found and asked to end. A shell is ended only
    // once the changes record (below) names it.
    virtual bool stopShell() = 0;
    // Why the last stopShell left a shell running: its changes record could not be written.
    // Empty when it withheld nothing.
    virtual std::string shellStopWithheld() const = 0;
    // Starts the remembered shell programs again; above 32 for success (the first program's
    // process id, at least 33), 32 or below for failure (2: nothing to start).
    virtual int startShell() = 0;

    // Makes the window (a native window id) the active one; true when it is in front now.
    virtual bool bringWindowToFront(unsigned long window) = 0;
    // True when another program's window is the active one.
    virtual bool foreignWindowInFront() = 0;
    // Keeps the window above all others, or lets others cover it again.
    virtual void setTopmost(unsigned long window, bool topmost) = 0;
    virtual void raiseWindow(unsigned long window) = 0;
    virtual void lowerWindow(unsigned long window) = 0;

    virtual bool isScreensaverRunning() = 0;

    // A descriptor that becomes readable when the desktop may have changed; -1 when the desktop
    // tells nothing and has to be asked again and again.
    virtual int changeDescriptor() const = 0;
    // Takes what the desktop reported since the last call; true when a window came or went, the
    // active window or the window list changed, or the system's screensaver started or ended:
    // the screen guard should look again. Costs no round trip to the server.
    virtual bool takeChanges() = 0;
    // True when reports are waiting that came in with the answer to another request: the
    // descriptor does not tell of those. Costs no system call.
    virtual bool changesQueued() const = 0;
    // Keeps the display switched on (screen saver and power saving suspended) or lets it
    // sleep again.
    virtual void keepDisplayOn(bool on) = 0;

    // From now on keeps a record of what is to be put back (stopped shell programs, display
    // power saving switched off) in this file while there is any, so that a run that is killed
    // before it could put things back is repaired by the next one. First puts back what a
    // record left by an earlier run names; says what it put back, empty when nothing.
    virtual std::string keepChangesRecord(const std::string& fileName) = 0;
};

}  // namespace plintor
