#pragma once

namespace plintor {

// What the desktop reports of its changes, so that an unchanged desktop is not asked again.
class DesktopEvents {
public:
    virtual ~DesktopEvents() = default;

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
};

}  // namespace plintor
