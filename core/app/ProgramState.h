#pragma once

#include <string>

namespace plintor {

// The program's life, written only where noted.
extern bool QuitRequested;       // by QuitApplication
extern bool SafeWebBrowserMode;  // by the program entry, before the window exists
extern bool HomePending;         // cleared once, when the home page first opens
extern std::string ProgramVersion;  // the program file's version, set at start

}  // namespace plintor
