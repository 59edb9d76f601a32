#include "platform/win32/ExecutionState.h"

#include <windows.h>

namespace plintor {

void applyExecutionState(bool displayOn) {
    SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED |
                            (displayOn ? ES_DISPLAY_REQUIRED : 0));
}

void clearExecutionState() {
    SetThreadExecutionState(ES_CONTINUOUS);
}

}  // namespace plintor
