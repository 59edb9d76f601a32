#pragma once

namespace plintor {

// The user-interface thread's execution state: the system is kept from sleeping whenever the
// kiosk runs; the display only when `displayOn`.
void applyExecutionState(bool displayOn);
// Back to ES_CONTINUOUS alone: neither requirement holds any longer.
void clearExecutionState();

}  // namespace plintor
