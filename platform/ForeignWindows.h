#pragma once

namespace plintor {

// The other programs' windows on the kiosk's desktop.
class ForeignWindows {
public:
    virtual ~ForeignWindows() = default;

    // One pass over the other programs' top-level windows: protected ones stay, the desktop
    // shell's titled windows are asked to close, every other program is ended. True when it
    // asked nothing to go; false when a window may still be there and wants another look.
    virtual bool closeForeignWindows() = 0;
};

}  // namespace plintor
