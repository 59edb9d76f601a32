#pragma once

#include <webkit/webkit.h>

#include <functional>
#include <string>

#include "glib/GObjectRef.h"
#include "glib/ScopedSignal.h"
#include "glib/Timeout.h"

namespace plintor {

// Tells when the page's web process ended abnormally (crash, out of memory) or stopped
// answering: a script that never returns freezes the page, and with it every way back that
// goes through the same process. The engine says when its process fails to answer the
// visitor's input; at rest nobody's input asks, so the watch asks itself, in a script world of
// its own that the page cannot see: often while a visitor or a load is at work, seldom on a
// page at rest (a hang there keeps nobody waiting; the first input after the rest asks within
// ProbeIntervalMs).
class RendererWatch {
public:
    static constexpr int ProbeIntervalMs = 5000;
    static constexpr int RestingProbeIntervalMs = 60000;
    // Without input or a load for this long, the page is at rest.
    static constexpr int RestAfterMs = 10000;
    static constexpr int UnresponsiveAfterMs = 30000;

    // `ended`: with "crashed" or "ended abnormally" (out of memory); `unresponsive`: said once
    // until the process answers again.
    RendererWatch(WebKitWebView* view, std::function<void(const std::string& reason)> ended,
                  std::function<void()> unresponsive);
    RendererWatch(const RendererWatch&) = delete;
    RendererWatch& operator=(const RendererWatch&) = delete;
    ~RendererWatch();

    // The visitor gave input, or a load started: the process is asked often again.
    void activityCame();
    // A load finished: as good as an answer.
    void answered();

private:
    static void onTerminated(WebKitWebView* view, WebKitWebProcessTerminationReason reason,
                             gpointer self);
    static void onResponsiveness(GObject* view, GParamSpec* property, gpointer self);
    static void onProbeAnswered(GObject* view, GAsyncResult* result, gpointer question);
    void timeUp();
    void probe();
    void scheduleProbe();
    void waitForAnswer();
    bool resting() const;

    WebKitWebView* m_view;
    std::function<void(const std::string&)> m_ended;
    std::function<void()> m_unresponsive;
    Timeout m_timer;            // the next question, or the verdict on the open one
    gint64 m_waitingSince = 0;  // monotonic microseconds; 0 while nothing is awaited
    gint64 m_lastActivity = 0;
    GObjectRef<GCancellable> m_question;
    bool m_said = false;
    ScopedSignal m_terminated;
    ScopedSignal m_responsiveness;
};

}  // namespace plintor
