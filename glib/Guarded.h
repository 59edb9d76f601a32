#pragma once

#include <functional>
#include <stdexcept>

#include "core/app/AppEvents.h"

namespace plintor {

// Runs a main-loop callback so that an error escaping it is logged and the kiosk goes on: an
// exception must never cross GLib's C frames.
inline void guarded(const std::function<void()>& callback) {
    try {
        callback();
    } catch (const std::exception& error) {
        appEventsException(error);
    } catch (...) {
        appEventsException(std::runtime_error("an error of unknown kind"));
    }
}

}  // namespace plintor
