#include "core/documents/HostUiCommands.h"

namespace plintor {

bool IsHandledHostCommand(int commandId) {
    return (commandId >= 1 && commandId <= 10) || commandId == 19 || commandId == 32 ||
           (commandId >= 40 && commandId <= 46) || commandId == 49 || commandId == 50 ||
           commandId == 59 || commandId == 63;
}

}  // namespace plintor
