#pragma once

#include <vector>

#include "core/lockdown/ForeignWindowRules.h"
#include "platform/linux/x11/X11Display.h"

namespace plintor {

// The programs behind the desktop's windows: which is the shell, and which the kiosk may end.
class X11DesktopPrograms {
public:
    explicit X11DesktopPrograms(const X11Display& x11);

    // Ourselves and the shell that ran when the kiosk started, for the foreign-window rules.
    const ForeignWindowContext& context() const { return m_context; }
    // The programs owning dock and desktop windows, hidden ones too: they are part of the shell
    // all the same.
    std::vector<long> shellProcessIds() const;
    bool isDesktopOrDock(XWindow window) const;
    // Looked up for every pass: the window manager may have been replaced.
    long windowManagerProcessId() const;
    // Never init, ourselves, the X server or the window manager: ending any of them ends the
    // session, not a program in it.
    bool maySignal(long processId, long windowManager) const;

private:
    const X11Display& m_x11;
    const long m_serverProcessId;
    ForeignWindowContext m_context;
};

}  // namespace plintor
