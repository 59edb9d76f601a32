#include "core/app/ProgramState.h"

namespace plintor {

bool QuitRequested = false;
bool SafeWebBrowserMode = false;
bool HomePending = true;
std::string ProgramVersion;

}  // namespace plintor
