#include "platform/linux/x11/X11Connection.h"

#include <X11/Xlib.h>

#include <utility>
#include <vector>

namespace plintor {
namespace {

// The live traps, innermost last: the connection each one watches and where its failures go.
std::vector<std::pair<Display*, std::set<unsigned long>*>> LiveTraps;
XErrorHandler PreviousHandler = nullptr;

int catchTrappedError(Display* display, XErrorEvent* error) {
    for (auto trap = LiveTraps.rbegin(); trap != LiveTraps.rend(); ++trap) {
        if (trap->first == display) {
            trap->second->insert(error->serial);
            return 0;
        }
    }
    return PreviousHandler != nullptr ? PreviousHandler(display, error) : 0;
}

}  // namespace

void XDisplayCloser::operator()(Display* display) const {
    XCloseDisplay(display);
}

DisplayHandle openDisplayHandle() {
    return DisplayHandle(XOpenDisplay(nullptr));
}

X11ErrorTrap::X11ErrorTrap(Display* display) : m_display(display) {
    // Errors of requests sent before the trap belong to whoever sent them.
    XSync(display, False);
    if (LiveTraps.empty()) {
        PreviousHandler = XSetErrorHandler(catchTrappedError);
    }
    LiveTraps.emplace_back(display, &m_failed);
}

X11ErrorTrap::~X11ErrorTrap() {
    XSync(m_display, False);
    LiveTraps.pop_back();
    if (LiveTraps.empty()) {
        XSetErrorHandler(PreviousHandler);
        PreviousHandler = nullptr;
    }
}

const std::set<unsigned long>& X11ErrorTrap::failedRequests() {
    XSync(m_display, False);
    return m_failed;
}

}  // namespace plintor
