#pragma once

#include <gio/gio.h>

#include <functional>
#include <memory>

#include "core/app/RequestBackoff.h"
#include "core/support/Clock.h"
#include "core/support/Log.h"
#include "glib/Timeout.h"

namespace plintor {

class PowerActions;

enum class PowerRequest { ShutDown, Restart, LogOff };

// The power actions, asked off the user-interface thread: a session manager that hangs or
// refuses never stops the kiosk from serving its visitor. One request is in flight at a time,
// its answer waited for at most TimeLimitMs, and after each failure in a row the next request
// waits longer (RequestBackoff). Outcomes are logged here.
class PowerRequests {
public:
    // The platform bounds each call itself (logind: 5 s per step); this is the back stop.
    static constexpr int TimeLimitMs = 20000;

    // `answered`: each request's outcome, on this thread: true when the system accepted it.
    PowerRequests(PowerActions& power, const MonotonicClock& clock,
                  std::function<void(PowerRequest, bool accepted)> answered,
                  const LogWriter& log = programLog());
    PowerRequests(const PowerRequests&) = delete;
    PowerRequests& operator=(const PowerRequests&) = delete;
    ~PowerRequests();

    // Asks in the background. False (logged) when it was not asked: another request is in
    // flight, or the wait after a failure has not passed.
    bool request(PowerRequest what);
    // Milliseconds until a request may be made: 0 now, -1 while one is in flight.
    long long waitMs() const { return m_backoff.millisecondsUntilAllowed(); }

private:
    struct Call;
    static void onAnswered(GObject* source, GAsyncResult* result, gpointer call);
    void settle(bool accepted, const char* failure);

    PowerActions& m_power;
    std::function<void(PowerRequest, bool)> m_answered;
    const LogWriter& m_log;
    RequestBackoff m_backoff;
    Timeout m_timeLimit;
    PowerRequest m_inFlight = PowerRequest::Restart;
    unsigned m_generation = 0;  // an answer after the time limit belongs to an older one
    // A worker's answer finds the requests gone through this.
    std::shared_ptr<PowerRequests*> m_self;
};

}  // namespace plintor
