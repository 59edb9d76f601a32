#pragma once

#include "core/app/ProgramOptions.h"

namespace plintor {

class IPlatform;

// The kiosk's whole run: start-up steps, the single-instance claim, the window, the message
// loop that only the kiosk's own end leaves, and the stop steps. Always ends with exit code 0.
int RunKiosk(int argc, char* argv[], const TProgramOptions& options, IPlatform& platform);

}  // namespace plintor
