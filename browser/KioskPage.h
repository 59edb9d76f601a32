#pragma once

#include <webkit/webkit.h>

#include <functional>
#include <string>
#include <vector>

#include "core/browser/NavigationPolicy.h"
#include "glib/ScopedSignal.h"

namespace plintor {

class UrlLists;

// The web policy of one page: every navigation of the page and its frames is judged by the
// lists, a document the visitor opens goes to the document handling, new windows are never
// made (their address is reported instead), and nothing the engine would ask a person (dialogs,
// file choosers, menus, permissions, logins, print, full screen) is ever shown. Closed by
// default: until a policy is set, nothing navigates.
class KioskPage {
public:
    struct Policy {
        // The lists in force; may wait for lists still being read.
        std::function<const UrlLists&()> lists;
        // What goes to the document handling, as the configuration says at the time: Word
        // documents to convert, PDF documents to fetch (the engine shows them).
        std::function<DocumentDiversion()> documents;
    };
    struct Events {
        std::function<void()> blocked;
        // The lists refused a navigation (the page's, a frame's or a redirect).
        std::function<void()> refused;
        std::function<void(const std::string& url)> documentRequested;
        std::function<void(const std::string& url)> newWindowRequested;
        // A top-level PDF address was translated for the viewer: its new address.
        std::function<void(const std::string& url)> translated;
        // The document fetch of fetchDocument ended without an answer to download: a redirect
        // the lists refuse, or a navigation that took its place.
        std::function<void()> documentFetchFailed;
        // A move to a fragment of the shown page was allowed; `logText` is its entry, which
        // goes to the page's address change log instead of straight to the log.
        std::function<void(const std::string& url, const std::string& logText)> fragmentAllowed;
    };

    KioskPage(WebKitWebView* view, Events events);
    KioskPage(const KioskPage&) = delete;
    KioskPage& operator=(const KioskPage&) = delete;

    void setPolicy(Policy policy);
    // The kiosk itself opens `url` next: its navigation is the page's own. An allowed one that
    // is not `logged` (a try to load a page again) leaves no entry.
    void expectNavigation(const std::string& url, bool logged = true);
    // `url` (without its fragment) is shown as a page this once, not taken for a document.
    void showAsPageOnce(const std::string& url);
    // The top-level load under way has ended (committed, failed or stopped).
    void topLevelSettled() { m_topLevelUnderway = false; }
    // The kiosk opens `url` next to fetch it as a document: every redirect on the way is judged
    // by the lists before it is followed, and the answer becomes a download.
    void fetchDocument(const std::string& url);
    // The document fetch under way (if any) has failed or been given up.
    bool endDocumentFetch();

private:
    static gboolean onDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                   WebKitPolicyDecisionType type, gpointer self);
    static GtkWidget* onCreate(WebKitWebView* view, WebKitNavigationAction* action, gpointer self);
    static gboolean onScriptDialog(WebKitWebView* view, WebKitScriptDialog* dialog, gpointer self);
    static gboolean onFileChooser(WebKitWebView* view, WebKitFileChooserRequest* request,
                                  gpointer self);
    static gboolean onPermission(WebKitWebView* view, WebKitPermissionRequest* request,
                                 gpointer self);
    static gboolean onAuthenticate(WebKitWebView* view, WebKitAuthenticationRequest* request,
                                   gpointer self);

    bool decideNavigation(WebKitNavigationPolicyDecision* decision);
    bool decideDocumentFetch(const std::string& url, const NavigationFacts& facts);
    NavigationVerdict judge(const std::string& url, bool topLevel, DocumentDiversion diversion);
    bool movesToFragment(const std::string& url, NavigationFacts::Kind kind) const;
    void decideNewWindow(WebKitNavigationPolicyDecision* decision);
    void decideResponse(WebKitPolicyDecision* decision);
    bool translateForViewer(const std::string& url);

    WebKitWebView* m_view;
    Events m_events;
    Policy m_policy;
    bool m_hasPolicy = false;
    std::string m_expected;
    bool m_expectedLogged = true;
    std::string m_shownAsPage;
    std::string m_translatedTo;
    std::string m_documentFetch;  // the address of the document fetch under way, if any
    bool m_topLevelUnderway = false;
    std::vector<ScopedSignal> m_signals;
};

}  // namespace plintor
