#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/lockdown/KeyTable.h"

namespace plintor {

// The system-wide input lock: the swallowed key combinations are claimed for the kiosk so that
// no other window (the window manager included) sees them, and every key, pointer and touch
// input anywhere on the display is reported (pens excepted).
class InputHooks {
public:
    virtual ~InputHooks() = default;

    // Called with every input the hooks see, from processEvents.
    virtual void onActivity(std::function<void()> activity) = 0;
    // True when every part was installed; what could not be installed stays off and the rest
    // works. Installing again tries what is missing.
    virtual bool install() = 0;
    // True when nothing stays installed.
    virtual bool remove() = 0;
    // Why the lock is incomplete, for the log: empty when complete. Lists the key combinations
    // that another program already holds, or says that there is no display to lock.
    virtual std::string shortfall() const = 0;
    // A descriptor that becomes readable when input waits to be processed (-1 when the hooks
    // have no display), and the processing itself; called from the user-interface loop.
    virtual int descriptor() const = 0;
    virtual void processEvents() = 0;
    // The virtual key of a key as the platform names it (on X11 the keysym); Unknown for keys
    // the lockdown does not know.
    virtual VirtualKey virtualKeyOfNativeKey(std::uint32_t nativeKey) const = 0;
};

}  // namespace plintor
