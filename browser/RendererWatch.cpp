#include "browser/RendererWatch.h"

namespace plintor {
namespace {

constexpr const char* ProbeWorld = "plintor-probe";

gint64 millisecondsSince(gint64 monotonicMicroseconds) {
    return (g_get_monotonic_time() - monotonicMicroseconds) / 1000;
}

}  // namespace

RendererWatch::RendererWatch(WebKitWebView* view,
                             std::function<void(const std::string& reason)> ended,
                             std::function<void()> unresponsive)
    : m_view(view),
      m_ended(std::move(ended)),
      m_unresponsive(std::move(unresponsive)),
      m_timer([this] { timeUp(); }),
      m_lastActivity(g_get_monotonic_time()),
      m_terminated(view, "web-process-terminated", G_CALLBACK(&RendererWatch::onTerminated), this),
      m_responsiveness(view, "notify::is-web-process-responsive",
                       G_CALLBACK(&RendererWatch::onResponsiveness), this) {
    scheduleProbe();
}

RendererWatch::~RendererWatch() {
    if (m_question) {
        g_cancellable_cancel(m_question.get());
    }
}

void RendererWatch::activityCame() {
    const bool wasResting = resting();
    m_lastActivity = g_get_monotonic_time();
    if (wasResting && m_waitingSince == 0 && m_timer.remainingMs() > ProbeIntervalMs) {
        m_timer.start(ProbeIntervalMs);
    }
}

bool RendererWatch::resting() const {
    return millisecondsSince(m_lastActivity) >= RestAfterMs;
}

void RendererWatch::scheduleProbe() {
    m_timer.start(resting() ? RestingProbeIntervalMs : ProbeIntervalMs);
}

void RendererWatch::timeUp() {
    if (m_waitingSince == 0) {
        probe();
        return;
    }
    const gint64 left = UnresponsiveAfterMs - millisecondsSince(m_waitingSince);
    if (left > 0) {
        m_timer.start(left);
    } else if (!m_said) {
        m_said = true;
        m_unresponsive();
    }
}

// One question at a time; an older question's late answer means nothing once it is
// cancelled.
void RendererWatch::probe() {
    waitForAnswer();
    if (m_question) {
        g_cancellable_cancel(m_question.get());
    }
    m_question = GObjectRef<GCancellable>::adopt(g_cancellable_new());
    webkit_web_view_evaluate_javascript(m_view, "0", -1, ProbeWorld, nullptr, m_question.get(),
                                        &RendererWatch::onProbeAnswered, this);
}

void RendererWatch::waitForAnswer() {
    if (m_waitingSince == 0) {
        m_waitingSince = g_get_monotonic_time();
        m_timer.start(UnresponsiveAfterMs);
    }
}

// An error is an answer too (the document it was asked of went away), unless the question was
// withdrawn, when the watch may be gone.
void RendererWatch::onProbeAnswered(GObject* view, GAsyncResult* result, gpointer self) {
    GError* error = nullptr;
    if (JSCValue* value =
            webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view), result, &error)) {
        g_object_unref(value);
    }
    const bool withdrawn = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
    g_clear_error(&error);
    if (!withdrawn) {
        static_cast<RendererWatch*>(self)->answered();
    }
}

void RendererWatch::answered() {
    m_waitingSince = 0;
    m_said = false;
    if (m_question) {
        g_cancellable_cancel(m_question.get());
        m_question.reset();
    }
    scheduleProbe();
}

void RendererWatch::onTerminated(WebKitWebView*, WebKitWebProcessTerminationReason reason,
                                 gpointer self) {
    auto* watch = static_cast<RendererWatch*>(self);
    if (reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API) {
        return;  // the kiosk's own doing
    }
    watch->answered();
    watch->m_ended(reason == WEBKIT_WEB_PROCESS_CRASHED ? "crashed" : "ended abnormally");
}

// The engine found its process silent while it waited for an answer: the verdict comes when
// that has lasted UnresponsiveAfterMs, as for the watch's own questions.
void RendererWatch::onResponsiveness(GObject*, GParamSpec*, gpointer self) {
    auto* watch = static_cast<RendererWatch*>(self);
    if (webkit_web_view_get_is_web_process_responsive(watch->m_view)) {
        watch->answered();
    } else {
        watch->waitForAnswer();
    }
}

}  // namespace plintor
