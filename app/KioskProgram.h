#pragma once

#include <string>

#include "core/app/ProgramOptions.h"

namespace plintor {

class Platform;

// The kiosk's whole run: start-up steps, the single-instance claim, the window, the message
// loop that only the kiosk's own end leaves, and the stop steps. Always ends with exit code 0.
int runKiosk(int argc, char* argv[], const ProgramOptions& options, Platform& platform);

// The browser engine the program runs on and its version, as --version says it.
std::string engineVersionText();

}  // namespace plintor
