#pragma once

#include <memory>
#include <set>

// Xlib's own name of its connection type; declared here so that no Xlib header leaves the .cpp
// files.
struct _XDisplay;

namespace plintor {

struct XDisplayCloser {
    void operator()(_XDisplay* display) const;
};
// A connection of our own to the X server, apart from the toolkit's.
using DisplayHandle = std::unique_ptr<_XDisplay, XDisplayCloser>;

// Null when the display named by DISPLAY cannot be opened.
DisplayHandle openDisplayHandle();

// Keeps the X errors of one connection's requests while it lives (a window may vanish between
// two requests, a key may be grabbed by another client, and Xlib's default handler ends the
// program); errors of other connections go on to the handler that was there before. The handler
// is process-wide: traps belong to one thread, and may nest.
class X11ErrorTrap {
public:
    explicit X11ErrorTrap(_XDisplay* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // Waits for the answers to every request sent so far and returns the serials of the
    // requests that failed.
    const std::set<unsigned long>& failedRequests();

private:
    _XDisplay* m_display;
    std::set<unsigned long> m_failed;
};

}  // namespace plintor
