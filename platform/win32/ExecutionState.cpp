#include "platform/win32/ExecutionState.h"

#include <windows.h>

#include "core/config/AwakeRequest.h"

namespace plintor {

// The kiosk's requests carry the system's numbers.
static_assert(awakeRequestNumber(AwakeRequest::System) == ES_SYSTEM_REQUIRED);
static_assert(awakeRequestNumber(AwakeRequest::Display) == ES_DISPLAY_REQUIRED);
static_assert(awakeRequestNumber(AwakeRequest::Continuous) == ES_CONTINUOUS);

void applyExecutionState(bool displayOn) {
    SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED |
                            (displayOn ? ES_DISPLAY_REQUIRED : 0));
}

void clearExecutionState() {
    SetThreadExecutionState(ES_CONTINUOUS);
}

}  // namespace plintor
