#pragma once

#include <glib.h>

#include <chrono>
#include <functional>

#include "glib/Timeout.h"

namespace plintor::test {

// Runs the main loop until `done`, looked at every 10 ms too (a file may be what changes);
// false when that takes longer than `limit`.
inline bool runMainLoopUntil(const std::function<bool()>& done,
                             std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    bool late = false;
    Timeout deadline([&late] { late = true; });
    deadline.start(limit.count());
    Timeout look([] {}, true);
    look.start(10);
    while (!done() && !late) {
        g_main_context_iteration(nullptr, TRUE);
    }
    return done();
}

}  // namespace plintor::test
