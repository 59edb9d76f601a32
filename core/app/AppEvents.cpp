#include "core/app/AppEvents.h"

#include "core/support/Log.h"

namespace plintor {

void appEventsException(const std::exception& error) {
    logEntry("AppEventsException error");
    logException(error);
}

}  // namespace plintor
