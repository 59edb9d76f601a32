#pragma once

namespace plintor {

// Which window is in front and which are above the others. Windows are native window ids.
class WindowStacking {
public:
    virtual ~WindowStacking() = default;

    // Makes the window the active one; true when it is in front now.
    virtual bool bringWindowToFront(unsigned long window) = 0;
    // True when another program's window is the active one.
    virtual bool foreignWindowInFront() = 0;
    // Keeps the window above all others, or lets others cover it again.
    virtual void setTopmost(unsigned long window, bool topmost) = 0;
    virtual void raiseWindow(unsigned long window) = 0;
    virtual void lowerWindow(unsigned long window) = 0;
};

}  // namespace plintor
