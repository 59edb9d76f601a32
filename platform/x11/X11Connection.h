#pragma once

#include <memory>
#include <set>

// Xlib's own name of its connection type; declared here so that no Xlib header leaves the .cpp
// files.
struct _XDisplay;

namespace plintor {

struct TXDisplayCloser {
    void operator()(_XDisplay* display) const;
};
// A connection of our own to the X server, apart from the toolkit's.
using TDisplayHandle = std::unique_ptr<_XDisplay, TXDisplayCloser>;

// Null when the display named by DISPLAY cannot be opened.
TDisplayHandle OpenDisplayHandle();

// Keeps the X errors of one connection's requests while it lives (a window may vanish between
// two requests, a key may be grabbed by another client, and Xlib's default handler ends the
// program); errors of other connections go on to the handler that was there before. The handler
// is process-wide: traps belong to one thread, and may nest.
class TX11ErrorTrap {
public:
    explicit TX11ErrorTrap(_XDisplay* display);
    ~TX11ErrorTrap();
    TX11ErrorTrap(const TX11ErrorTrap&) = delete;
    TX11ErrorTrap& operator=(const TX11ErrorTrap&) = delete;

    // Waits for the answers to every request sent so far and returns the serials of the
    // requests that failed.
    const std::set<unsigned long>& FailedRequests();

private:
    _XDisplay* FDisplay;
    std::set<unsigned long> FFailed;
};

}  // namespace plintor
