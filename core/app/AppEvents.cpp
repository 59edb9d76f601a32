#include "AppEvents.h"

#include "support/Log.h"

namespace plintor {

void AppEventsException(const std::exception& error) {
    LogEntry("AppEventsException error");
    LogException(error);
}

}  // namespace plintor
