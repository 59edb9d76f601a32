#pragma once

namespace plintor {

// Makes the running kiosk refuse to be ended by ordinary termination signals and keeps other
// processes of the user from attaching to it. True when every step took effect.
bool ProtectProcess();

// A descriptor that becomes readable when a termination signal was refused, so the program
// can ask whether the session is ending (then it ends itself); -1 before ProtectProcess.
int RefusedSignalDescriptor();
// Empties that descriptor.
void TakeRefusedSignals();

}  // namespace plintor
