#pragma once

#include <webkit/webkit.h>

#include <map>

#include "browser/SharedListFolder.h"
#include "core/browser/UrlLists.h"

namespace plintor {

// Every web process of `context` judges each request of its pages by the kiosk's deny list
// (DenyAllRequests): the web process extension (gtk/webext) refuses what the list denies, in
// every frame and at every redirect hop, and tells the page's view. The list is compiled once
// here; each web process maps the same image read-only and reads the current list before each
// decision, so no request is judged by an older list once judgeBy has returned, and a process
// that starts later has the list before its first request.
class RequestGuard {
public:
    // Must be made before `context` starts its first web process, that is before any
    // WebKitWebView of the context is made: making a view starts the engine's processes, and
    // the sandbox then refuses the list's folder (the engine aborts the program). It owns the
    // context's web process extension folder and initialization data.
    explicit RequestGuard(WebKitWebContext* context);
    RequestGuard(const RequestGuard&) = delete;
    RequestGuard& operator=(const RequestGuard&) = delete;
    ~RequestGuard();

    // From now on requests are judged by the deny list of `lists` (for processes that run
    // already as well as new ones). Until the first call nothing is refused. Judging also
    // turns off, in the watched views, the engine features whose requests reach no page's
    // judge: service and shared workers (they belong to no page) and link prefetch.
    void judgeBy(const UrlLists& lists);
    // Counts what the extension refused for `view`'s pages, until the view goes (the guard
    // holds no reference: a closed page's view and its web process go as they would).
    void watch(WebKitWebView* view);
    // The requests refused for `view` since the last call.
    int takeBlockedCount(WebKitWebView* view);

private:
    struct Watched {
        gulong messages = 0;
        int blocked = 0;
    };

    static gboolean messageReceived(WebKitWebView* view, WebKitUserMessage* message,
                                    RequestGuard* self);
    static void viewGone(gpointer self, GObject* view);

    SharedListFolder m_folder;
    bool m_judging = false;
    std::map<WebKitWebView*, Watched> m_views;
};

}  // namespace plintor
