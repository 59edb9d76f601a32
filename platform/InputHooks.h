#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plintor {

// The system-wide input lock: the swallowed key combinations are claimed for the kiosk so that
// no other window (the window manager included) sees them, and every key, pointer and touch
// input anywhere on the display is reported to RecordInputActivity (pens excepted).
//
// True when every part was installed; what could not be installed stays off and the rest
// works.
bool InstallInputHooks();
// True when nothing stays installed.
bool RemoveInputHooks();

// Why the lock is incomplete, for the log: empty when complete. Lists the key combinations
// that another program already holds, or says that there is no display to lock.
std::string InputHooksShortfall();

// A descriptor that becomes readable when input waits to be processed (-1 when none), and
// the processing itself; called from the user-interface loop.
int InputHooksDescriptor();
void ProcessInputHookEvents();

// The virtual-key code of a key as the platform names it (on X11 the keysym); 0 for keys the
// lockdown does not know.
std::uint32_t VirtualKeyOfNativeKey(std::uint32_t nativeKey);

}  // namespace plintor
