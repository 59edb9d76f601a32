#include "platform/x11/X11Connection.h"

#include <X11/Xlib.h>

#include <utility>
#include <vector>

namespace plintor {
namespace {

// The live traps, innermost last: the connection each one watches and where its failures go.
std::vector<std::pair<Display*, std::set<unsigned long>*>> LiveTraps;
XErrorHandler PreviousHandler = nullptr;

int CatchTrappedError(Display* display, XErrorEvent* error) {
    for (auto trap = LiveTraps.rbegin(); trap != LiveTraps.rend(); ++trap) {
        if (trap->first == display) {
            trap->second->insert(error->serial);
            return 0;
        }
    }
    return PreviousHandler != nullptr ? PreviousHandler(display, error) : 0;
}

}  // namespace

void TXDisplayCloser::operator()(Display* display) const {
    XCloseDisplay(display);
}

TDisplayHandle OpenDisplayHandle() {
    return TDisplayHandle(XOpenDisplay(nullptr));
}

TX11ErrorTrap::TX11ErrorTrap(Display* display) : FDisplay(display) {
    // Errors of requests sent before the trap belong to whoever sent them.
    XSync(display, False);
    if (LiveTraps.empty()) {
        PreviousHandler = XSetErrorHandler(CatchTrappedError);
    }
    LiveTraps.emplace_back(display, &FFailed);
}

TX11ErrorTrap::~TX11ErrorTrap() {
    XSync(FDisplay, False);
    LiveTraps.pop_back();
    if (LiveTraps.empty()) {
        XSetErrorHandler(PreviousHandler);
        PreviousHandler = nullptr;
    }
}

const std::set<unsigned long>& TX11ErrorTrap::FailedRequests() {
    XSync(FDisplay, False);
    return FFailed;
}

}  // namespace plintor
