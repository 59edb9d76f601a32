#pragma once

#include "core/app/ProgramOptions.h"

namespace plintor {

// The kiosk's whole run: start-up steps, the single-instance claim, the window, the message
// loop that only QuitApplication ends, and the stop steps. Always ends with exit code 0.
int RunKiosk(int argc, char* argv[], const TProgramOptions& options);

// Ends the kiosk after the current message.
void QuitApplication();

}  // namespace plintor
