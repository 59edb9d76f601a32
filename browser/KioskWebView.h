#pragma once

#include <webkit/webkit.h>

#include <functional>
#include <optional>
#include <string>

#include "core/browser/LoadFailure.h"

#include "glib/GObjectRef.h"
#include "glib/ScopedSignal.h"
#include "glib/Timeout.h"

namespace plintor {

// The browser control: one web view in a given network session that reports what its page
// does (the main frame's loads, its history, its renderer's end) and navigates later on
// request. Web policy is not its job: that is the page's (KioskPage) on the same view.
class KioskWebView {
public:
    struct Events {
        std::function<void()> loadStarted;
        std::function<void(const std::string& url)> committed;
        // The page at `url` finished loading (a failed or stopped load is no completion).
        std::function<void(const std::string& url)> documentCompleted;
        // The top-level load of `url` failed; `failure` says why the page could not be loaded,
        // and is empty for a load the kiosk's own policy ended (nothing a try again would
        // change).
        std::function<void(const std::string& url, const std::optional<LoadFailure>& failure)>
            navigationFailed;
        std::function<void()> loadFinished;  // after every load, completed or not
        std::function<void()> progressChanged;
        std::function<void(bool canGoBack, bool canGoForward)> historyChanged;
        // The page moved to `url` without a load: history.pushState or replaceState, or a
        // move to a fragment.
        std::function<void(const std::string& url)> addressChanged;
        // A text field of the page took the focus (or was tapped again), or none has it now.
        std::function<void(bool focused)> textFieldFocused;
    };

    KioskWebView(WebKitWebContext* context, WebKitNetworkSession* session,
                 WebKitUserContentManager* content, Events events);
    KioskWebView(const KioskWebView&) = delete;
    KioskWebView& operator=(const KioskWebView&) = delete;
    ~KioskWebView();

    WebKitWebView* view() const { return m_view.get(); }
    GtkWidget* widget() const { return GTK_WIDGET(m_view.get()); }

    void navigate(const std::string& address);
    // Stops, then navigates once the current engine event has returned; the later of two
    // waiting addresses wins.
    void navigateAsync(const std::string& address);
    std::string address() const;
    // The HTTP status of the shown document's answer; 0 when it came from no server.
    int statusCode() const;
    void reload();
    void goBack();
    void goForward();
    void stop();

private:
    static void onLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
    static gboolean onLoadFailed(WebKitWebView* view, WebKitLoadEvent event, char* uri,
                                 GError* error, gpointer self);
    static gboolean onTlsErrors(WebKitWebView* view, char* uri, GTlsCertificate* certificate,
                                GTlsCertificateFlags errors, gpointer self);
    static void onProgress(GObject* view, GParamSpec* property, gpointer self);
    static void onAddress(GObject* view, GParamSpec* property, gpointer self);
    static void onHistoryChanged(WebKitBackForwardList* list, WebKitBackForwardListItem* added,
                                 gpointer removed, gpointer self);
    static gboolean onMessage(WebKitWebView* view, WebKitUserMessage* message, gpointer self);
    void navigateWaiting();

    GObjectRef<WebKitWebView> m_view;
    Events m_events;
    std::string m_waitingAddress;
    Timeout m_navigateLater;
    bool m_loadFailed = false;
    std::string m_documentAddress;  // where the shown document is, as far as it was reported
    bool m_committed = false;       // the load under way has committed its document
    bool m_requested = false;       // the kiosk asked for a load that has not started yet
    ScopedSignal m_loadChanged;
    ScopedSignal m_loadFailedSignal;
    ScopedSignal m_tlsErrors;
    ScopedSignal m_progress;
    ScopedSignal m_history;
    ScopedSignal m_address;
    ScopedSignal m_messages;
};

}  // namespace plintor
