#pragma once

#include <string>

namespace plintor {

// The desktop shell (task bar, dock, desktop icons), which the kiosk ends while it runs.
class DesktopShell {
public:
    virtual ~DesktopShell() = default;

    // Ends the desktop shell (the programs owning dock and desktop windows) after remembering
    // how to start it again; true when one was found and asked to end. A shell is ended only
    // once the desktop's changes record names it.
    virtual bool stopShell() = 0;
    // Why the last stopShell left a shell running: its changes record could not be written.
    // Empty when it withheld nothing.
    virtual std::string shellStopWithheld() const = 0;
    // Starts the remembered shell programs again; above 32 for success (the first program's
    // process id, at least 33), 32 or below for failure (2: nothing to start).
    virtual int startShell() = 0;
};

}  // namespace plintor
