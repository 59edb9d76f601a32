#pragma once

namespace plintor {

// Makes the running kiosk refuse to be ended by ordinary termination signals and keeps other
// processes of the user from attaching to it. True when every step took effect.
bool ProtectProcess();

}  // namespace plintor
