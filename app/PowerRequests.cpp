#include "app/PowerRequests.h"

#include "glib/Guarded.h"
#include "platform/PowerActions.h"

namespace plintor {
namespace {

const char* nameOf(PowerRequest what) {
    switch (what) {
        case PowerRequest::ShutDown:
            return "Shut down";
        case PowerRequest::Restart:
            return "Restart";
        case PowerRequest::LogOff:
            return "Log off";
    }
    return "";
}

}  // namespace

// What the worker thread needs, owned by the task: the worker touches nothing else.
struct PowerRequests::Call {
    PowerActions* power;
    PowerRequest what;
    unsigned generation;
    std::weak_ptr<PowerRequests*> requests;
};

PowerRequests::PowerRequests(PowerActions& power, const MonotonicClock& clock,
                             std::function<void(PowerRequest, bool)> answered, const LogWriter& log)
    : m_power(power),
      m_answered(std::move(answered)),
      m_log(log),
      m_backoff(clock),
      m_timeLimit([this] { settle(false, " not answered in time"); }),
      m_self(std::make_shared<PowerRequests*>(this)) {}

PowerRequests::~PowerRequests() = default;

bool PowerRequests::request(PowerRequest what) {
    const long long wait = m_backoff.millisecondsUntilAllowed();
    if (wait != 0) {
        m_log.entry(std::string(nameOf(what)) + " not asked: " +
                    (wait < 0
                         ? std::string("another request is unanswered")
                         : "the next request in " + std::to_string((wait + 999) / 1000) + " s"));
        return false;
    }
    m_backoff.started();
    m_inFlight = what;
    GTask* task = g_task_new(nullptr, nullptr, &PowerRequests::onAnswered, nullptr);
    g_task_set_task_data(task, new Call{&m_power, what, ++m_generation, m_self},
                         [](gpointer call) { delete static_cast<Call*>(call); });
    g_task_run_in_thread(task, [](GTask* running, gpointer, gpointer data, GCancellable*) {
        const Call& call = *static_cast<Call*>(data);
        bool accepted = false;
        switch (call.what) {
            case PowerRequest::ShutDown:
                accepted = call.power->shutDown(true);
                break;
            case PowerRequest::Restart:
                accepted = call.power->restart(true);
                break;
            case PowerRequest::LogOff:
                accepted = call.power->logOff(true);
                break;
        }
        g_task_return_boolean(running, accepted);
    });
    g_object_unref(task);
    m_timeLimit.start(TimeLimitMs);
    return true;
}

// On the thread that asked, once the worker is done.
void PowerRequests::onAnswered(GObject*, GAsyncResult* result, gpointer) {
    GTask* task = G_TASK(result);
    const Call& call = *static_cast<Call*>(g_task_get_task_data(task));
    const bool accepted = g_task_propagate_boolean(task, nullptr) != FALSE;
    const std::shared_ptr<PowerRequests*> requests = call.requests.lock();
    if (requests != nullptr && call.generation == (*requests)->m_generation &&
        (*requests)->m_timeLimit.isActive()) {
        guarded([&] { (*requests)->settle(accepted, " not accepted"); });
    }
}

void PowerRequests::settle(bool accepted, const char* failure) {
    m_timeLimit.stop();
    m_backoff.answered(accepted);
    if (!accepted) {
        m_log.entry(std::string(nameOf(m_inFlight)) + failure + ": the next request in " +
                    std::to_string(m_backoff.delayMs() / 1000) + " s at the earliest");
    }
    m_answered(m_inFlight, accepted);
}

}  // namespace plintor
