#include "browser/KioskWebView.h"

#include <cstring>

#include "core/browser/EditableFocus.h"
#include "core/browser/UrlHelpers.h"

namespace plintor {
namespace {

// Errors that are no failure of the page: the kiosk or the page itself stopped the load, or a
// policy decision (a refused navigation, a document taken by the document handling) ended it.
bool isInterruption(const GError* error) {
    return g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
           g_error_matches(error, WEBKIT_POLICY_ERROR,
                           WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE);
}

// A load that a policy of the kiosk ended fails the same way again: no page failure.
std::optional<LoadFailure> pageFailureOf(const GError* error) {
    using Kind = LoadFailure::Kind;
    if (error->domain == WEBKIT_POLICY_ERROR) {
        return std::nullopt;
    }
    if (error->domain == G_RESOLVER_ERROR ||
        g_error_matches(error, G_IO_ERROR, G_IO_ERROR_HOST_NOT_FOUND)) {
        return LoadFailure{Kind::NameNotFound};
    }
    if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CONNECTION_REFUSED)) {
        return LoadFailure{Kind::Refused};
    }
    if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT)) {
        return LoadFailure{Kind::TimedOut};
    }
    if (error->domain == G_TLS_ERROR) {
        return LoadFailure{Kind::Certificate};
    }
    return LoadFailure{Kind::Other};
}

WebKitWebView* newView(WebKitWebContext* context, WebKitNetworkSession* session,
                       WebKitUserContentManager* content) {
    auto* view = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context,
                                              "network-session", session, "user-content-manager",
                                              content, nullptr));
    return WEBKIT_WEB_VIEW(g_object_ref_sink(view));
}

}  // namespace

KioskWebView::KioskWebView(WebKitWebContext* context, WebKitNetworkSession* session,
                           WebKitUserContentManager* content, Events events)
    : m_view(GObjectRef<WebKitWebView>::adopt(newView(context, session, content))),
      m_events(std::move(events)),
      m_navigateLater([this] { navigateWaiting(); }),
      m_loadChanged(m_view.get(), "load-changed", G_CALLBACK(&KioskWebView::onLoadChanged), this),
      m_loadFailedSignal(m_view.get(), "load-failed", G_CALLBACK(&KioskWebView::onLoadFailed),
                         this),
      m_tlsErrors(m_view.get(), "load-failed-with-tls-errors",
                  G_CALLBACK(&KioskWebView::onTlsErrors), this),
      m_progress(m_view.get(), "notify::estimated-load-progress",
                 G_CALLBACK(&KioskWebView::onProgress), this),
      m_history(webkit_web_view_get_back_forward_list(m_view.get()), "changed",
                G_CALLBACK(&KioskWebView::onHistoryChanged), this),
      m_address(m_view.get(), "notify::uri", G_CALLBACK(&KioskWebView::onAddress), this),
      m_messages(m_view.get(), "user-message-received", G_CALLBACK(&KioskWebView::onMessage),
                 this) {}

KioskWebView::~KioskWebView() {
    m_loadChanged.disconnect();
    m_loadFailedSignal.disconnect();
    m_tlsErrors.disconnect();
    m_progress.disconnect();
    m_history.disconnect();
    m_address.disconnect();
    m_messages.disconnect();
    webkit_web_view_stop_loading(m_view.get());
}

void KioskWebView::navigate(const std::string& address) {
    m_requested = true;
    webkit_web_view_load_uri(m_view.get(), addressFromUserInput(address).c_str());
}

void KioskWebView::navigateAsync(const std::string& address) {
    webkit_web_view_stop_loading(m_view.get());
    m_waitingAddress = address;
    m_navigateLater.start(0);
}

void KioskWebView::navigateWaiting() {
    if (m_waitingAddress.empty()) {
        return;
    }
    webkit_web_view_stop_loading(m_view.get());
    navigate(std::exchange(m_waitingAddress, {}));
}

std::string KioskWebView::address() const {
    const char* uri = webkit_web_view_get_uri(m_view.get());
    return uri != nullptr ? uri : "";
}

int KioskWebView::statusCode() const {
    WebKitWebResource* resource = webkit_web_view_get_main_resource(m_view.get());
    WebKitURIResponse* response =
        resource != nullptr ? webkit_web_resource_get_response(resource) : nullptr;
    return response != nullptr ? static_cast<int>(webkit_uri_response_get_status_code(response))
                               : 0;
}

void KioskWebView::reload() {
    m_requested = true;
    webkit_web_view_reload(m_view.get());
}

void KioskWebView::goBack() {
    m_requested = true;
    webkit_web_view_go_back(m_view.get());
}

void KioskWebView::goForward() {
    m_requested = true;
    webkit_web_view_go_forward(m_view.get());
}

void KioskWebView::stop() {
    m_waitingAddress.clear();
    webkit_web_view_stop_loading(m_view.get());
}

void KioskWebView::onLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
    auto* view = static_cast<KioskWebView*>(self);
    switch (event) {
        case WEBKIT_LOAD_STARTED:
            view->m_loadFailed = false;
            view->m_committed = false;
            view->m_requested = false;
            view->m_events.loadStarted();
            break;
        case WEBKIT_LOAD_COMMITTED:
            view->m_documentAddress = view->address();
            view->m_committed = true;
            view->m_events.committed(view->address());
            break;
        case WEBKIT_LOAD_FINISHED:
            if (!view->m_loadFailed) {
                view->m_events.documentCompleted(view->address());
            }
            view->m_events.loadFinished();
            break;
        case WEBKIT_LOAD_REDIRECTED:
            break;
    }
}

// The engine's own error page is never shown: the page that failed stays as it is.
gboolean KioskWebView::onLoadFailed(WebKitWebView*, WebKitLoadEvent, char* uri, GError* error,
                                    gpointer self) {
    auto* view = static_cast<KioskWebView*>(self);
    view->m_loadFailed = true;
    if (!isInterruption(error)) {
        view->m_events.navigationFailed(uri != nullptr ? uri : "", pageFailureOf(error));
    }
    return TRUE;
}

// A certificate the engine does not trust fails the load, as the session's policy says; no
// exception is ever made for it, so nobody at the screen can get past it.
gboolean KioskWebView::onTlsErrors(WebKitWebView*, char* uri, GTlsCertificate*,
                                   GTlsCertificateFlags, gpointer self) {
    auto* view = static_cast<KioskWebView*>(self);
    view->m_loadFailed = true;
    view->m_events.navigationFailed(uri != nullptr ? uri : "",
                                    LoadFailure{LoadFailure::Kind::Certificate});
    return TRUE;
}

void KioskWebView::onProgress(GObject*, GParamSpec*, gpointer self) {
    static_cast<KioskWebView*>(self)->m_events.progressChanged();
}

// The address also changes for a load (to the address the kiosk asked for, before the load
// starts; to the one under way, on a redirect, at the commit) and back when a navigation is
// refused. A change away from the shown document's address is the page's own when no load is
// under way, or when the shown document was committed and nothing new was asked for since: a
// page may change its address while it still loads.
void KioskWebView::onAddress(GObject*, GParamSpec*, gpointer self) {
    auto* view = static_cast<KioskWebView*>(self);
    std::string address = view->address();
    if (address == view->m_documentAddress) {
        view->m_requested = false;  // a request refused: the shown document stays
        return;
    }
    if (webkit_web_view_is_loading(view->m_view.get()) &&
        (!view->m_committed || view->m_requested)) {
        return;
    }
    view->m_documentAddress = address;
    view->m_events.addressChanged(address);
}

void KioskWebView::onHistoryChanged(WebKitBackForwardList*, WebKitBackForwardListItem*, gpointer,
                                    gpointer self) {
    auto* view = static_cast<KioskWebView*>(self);
    view->m_events.historyChanged(webkit_web_view_can_go_back(view->m_view.get()) != FALSE,
                                  webkit_web_view_can_go_forward(view->m_view.get()) != FALSE);
}

// Other messages of the page are left to the program's other handlers. A message of the wrong
// shape (the web process is not trusted) is taken and ignored.
gboolean KioskWebView::onMessage(WebKitWebView*, WebKitUserMessage* message, gpointer self) {
    if (std::strcmp(webkit_user_message_get_name(message), EditableFocus::Message) != 0) {
        return FALSE;
    }
    GVariant* focused = webkit_user_message_get_parameters(message);
    auto* view = static_cast<KioskWebView*>(self);
    if (focused != nullptr && g_variant_is_of_type(focused, G_VARIANT_TYPE_BOOLEAN) &&
        view->m_events.textFieldFocused) {
        view->m_events.textFieldFocused(g_variant_get_boolean(focused) != FALSE);
    }
    return TRUE;
}

}  // namespace plintor
