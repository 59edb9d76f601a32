#pragma once

#include <ostream>

#include "core/app/ProgramOptions.h"

namespace plintor {

class Platform;

// `plintor [--home=DIR] --restore-desktop`: puts back what a kiosk that ended without its stop
// steps (killed, crashed) left changed on the desktop, the shell it stopped and display power
// saving it switched off, exactly as the next start would, and logs it as that start does.
// Refuses while a kiosk of this user runs, which puts things back itself. 0 when nothing is
// left to put back, 1 when something could not be.
int runDesktopRestore(const ProgramOptions& options, Platform& platform, std::ostream& out,
                      std::ostream& err);

}  // namespace plintor
