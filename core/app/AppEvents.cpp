#include "core/app/AppEvents.h"

#include "core/support/Log.h"

namespace plintor {

void AppEventsException(const std::exception& error) {
    LogEntry("AppEventsException error");
    LogException(error);
}

}  // namespace plintor
