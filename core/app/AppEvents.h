#pragma once

#include <exception>

namespace plintor {

// The last stop of an error that nothing else handled: it is logged and the kiosk goes on;
// the visitor sees nothing.
void appEventsException(const std::exception& error);

}  // namespace plintor
