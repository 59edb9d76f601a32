#include "browser/KioskPage.h"

#include "core/browser/NavigationPolicy.h"
#include "core/browser/UrlHelpers.h"
#include "core/browser/UrlLists.h"
#include "core/documents/AcrobatParameters.h"
#include "core/support/Log.h"

namespace plintor {
namespace {

std::string withoutFragment(const std::string& url) {
    return url.substr(0, url.find('#'));
}

std::string requestedUrl(WebKitNavigationPolicyDecision* decision) {
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(decision);
    const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    return uri != nullptr ? uri : "";
}

// A handler that takes any arguments and says the event was handled, so that the engine shows
// nothing of its own.
gboolean handled() {
    return TRUE;
}

bool isAttachment(WebKitURIResponse* response) {
    SoupMessageHeaders* headers = webkit_uri_response_get_http_headers(response);
    char* disposition = nullptr;
    if (headers == nullptr ||
        !soup_message_headers_get_content_disposition(headers, &disposition, nullptr)) {
        return false;
    }
    const bool attachment = g_ascii_strcasecmp(disposition, "attachment") == 0;
    g_free(disposition);
    return attachment;
}

NavigationFacts::Kind kindOf(WebKitNavigationType type) {
    using Kind = NavigationFacts::Kind;
    switch (type) {
        case WEBKIT_NAVIGATION_TYPE_LINK_CLICKED:
            return Kind::LinkClicked;
        case WEBKIT_NAVIGATION_TYPE_FORM_SUBMITTED:
            return Kind::FormSubmitted;
        case WEBKIT_NAVIGATION_TYPE_BACK_FORWARD:
            return Kind::BackForward;
        case WEBKIT_NAVIGATION_TYPE_RELOAD:
            return Kind::Reload;
        case WEBKIT_NAVIGATION_TYPE_FORM_RESUBMITTED:
            return Kind::FormResubmitted;
        case WEBKIT_NAVIGATION_TYPE_OTHER:
            break;
    }
    return Kind::Other;
}

}  // namespace

KioskPage::KioskPage(WebKitWebView* view, Events events)
    : m_view(view), m_events(std::move(events)) {
    const auto connect = [this](const char* signal, GCallback handler) {
        m_signals.emplace_back(m_view, signal, handler, this);
    };
    connect("decide-policy", G_CALLBACK(&KioskPage::onDecidePolicy));
    connect("create", G_CALLBACK(&KioskPage::onCreate));
    connect("script-dialog", G_CALLBACK(&KioskPage::onScriptDialog));
    connect("run-file-chooser", G_CALLBACK(&KioskPage::onFileChooser));
    connect("permission-request", G_CALLBACK(&KioskPage::onPermission));
    connect("authenticate", G_CALLBACK(&KioskPage::onAuthenticate));
    // Handled, so that the engine shows nothing: no menu, no print dialog, no full screen.
    connect("context-menu", G_CALLBACK(handled));
    connect("print", G_CALLBACK(handled));
    connect("enter-fullscreen", G_CALLBACK(handled));
}

void KioskPage::setPolicy(Policy policy) {
    m_policy = std::move(policy);
    m_hasPolicy = static_cast<bool>(m_policy.lists);
}

void KioskPage::expectNavigation(const std::string& url, bool logged) {
    m_expected = addressFromUserInput(url);
    m_expectedLogged = logged;
}

void KioskPage::showAsPageOnce(const std::string& url) {
    m_shownAsPage = withoutFragment(url);
}

void KioskPage::fetchDocument(const std::string& url) {
    m_documentFetch = addressFromUserInput(url);
}

bool KioskPage::endDocumentFetch() {
    const bool underway = !m_documentFetch.empty();
    m_documentFetch.clear();
    return underway;
}

gboolean KioskPage::onDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                   WebKitPolicyDecisionType type, gpointer self) {
    auto* page = static_cast<KioskPage*>(self);
    switch (type) {
        case WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION:
            if (page->decideNavigation(WEBKIT_NAVIGATION_POLICY_DECISION(decision))) {
                webkit_policy_decision_use(decision);
            } else {
                webkit_policy_decision_ignore(decision);
            }
            return TRUE;
        case WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION:
            page->decideNewWindow(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
            webkit_policy_decision_ignore(decision);
            return TRUE;
        case WEBKIT_POLICY_DECISION_TYPE_RESPONSE:
            page->decideResponse(decision);
            return TRUE;
    }
    webkit_policy_decision_ignore(decision);
    return TRUE;
}

bool KioskPage::decideNavigation(WebKitNavigationPolicyDecision* decision) {
    if (!m_hasPolicy) {
        return false;
    }
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(decision);
    const std::string url = requestedUrl(decision);
    NavigationFacts facts;
    facts.kind = kindOf(webkit_navigation_action_get_navigation_type(action));
    facts.userGesture = webkit_navigation_action_is_user_gesture(action) != FALSE;
    facts.redirect = webkit_navigation_action_is_redirect(action) != FALSE;
    if (!m_documentFetch.empty() && (url == m_documentFetch || facts.redirect)) {
        return decideDocumentFetch(url, facts);
    }
    facts.startedByKiosk = !m_expected.empty() && url == m_expected;
    facts.topLevelUnderway = m_topLevelUnderway;
    const bool topLevel = isTopLevelNavigation(facts);
    const bool logged = !facts.startedByKiosk || m_expectedLogged;
    if (facts.startedByKiosk) {
        m_expected.clear();
        m_expectedLogged = true;
    }
    if (topLevel && endDocumentFetch()) {
        m_events.documentFetchFailed();  // another page took its place
    }
    if (topLevel && translateForViewer(url)) {
        return false;
    }
    const bool asPage = topLevel && withoutFragment(url) == m_shownAsPage;
    if (topLevel) {
        m_shownAsPage.clear();
    }
    const DocumentDiversion documents = m_policy.documents();
    const NavigationVerdict verdict =
        judge(url, topLevel, {documents.wordToConvert && !asPage, documents.pdfToFetch && !asPage});
    if (!verdict.cancel && movesToFragment(url, facts.kind)) {
        m_events.fragmentAllowed(url, verdict.logText);
    } else if (logged || verdict.cancel) {
        logEntry(verdict.logText);
    }
    if (verdict.showBlockedHint) {
        m_events.blocked();
    }
    if (verdict.divertToDownload) {
        m_events.documentRequested(url);
    }
    if (topLevel && !verdict.cancel) {
        m_topLevelUnderway = true;
    }
    return !verdict.cancel;
}

// Every judgement of the lists passes here, so that each refusal is counted once.
NavigationVerdict KioskPage::judge(const std::string& url, bool topLevel,
                                   DocumentDiversion diversion) {
    NavigationVerdict verdict = judgeNavigation(m_policy.lists(), url, topLevel, diversion);
    if (!verdict.allowed && m_events.refused) {
        m_events.refused();
    }
    return verdict;
}

// The address the fetch starts at was judged (and logged) when the visitor opened it; each
// redirect is judged before it is followed, and none is taken for a document again. A refused
// one ends the fetch, whose blocked download is the visitor's answer.
bool KioskPage::decideDocumentFetch(const std::string& url, const NavigationFacts& facts) {
    if (!facts.redirect) {
        return true;
    }
    const NavigationVerdict verdict = judge(url, false, {});
    logEntry(verdict.logText);
    if (verdict.cancel && endDocumentFetch()) {
        m_events.documentFetchFailed();
    }
    return !verdict.cancel;
}

// A PDF address is opened with the viewer's parameters: the navigation is refused and the
// translated address follows. True when that happened.
bool KioskPage::translateForViewer(const std::string& url) {
    if (url == m_translatedTo) {
        return false;  // our own translation; never translate it twice
    }
    const UrlTranslation translation = translateUrl(url, m_policy.documents().pdfToFetch);
    const std::string translated = addressFromUserInput(translation.address);
    if (translated == url) {
        return false;
    }
    for (const std::string& line : translation.logLines) {
        logEntry(line);
    }
    m_translatedTo = translated;
    m_events.translated(translated);
    return true;
}

bool KioskPage::movesToFragment(const std::string& url, NavigationFacts::Kind kind) const {
    const bool load = kind == NavigationFacts::Kind::Reload ||
                      kind == NavigationFacts::Kind::FormSubmitted ||
                      kind == NavigationFacts::Kind::FormResubmitted;
    const char* shown = webkit_web_view_get_uri(m_view);
    return !load && shown != nullptr && isFragmentNavigation(shown, url);
}

void KioskPage::decideNewWindow(WebKitNavigationPolicyDecision* decision) {
    const std::string url = requestedUrl(decision);
    // window.open("") starts at about:blank before a script would set the real address.
    if (m_hasPolicy && !url.empty() && !url.starts_with("about:")) {
        m_events.newWindowRequested(url);
    }
}

// What the server sends as a file to keep, and what the engine cannot show, is handed to the
// document handling as a download (which keeps only what the rules allow).
void KioskPage::decideResponse(WebKitPolicyDecision* decision) {
    auto* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
    if (webkit_response_policy_decision_is_main_frame_main_resource(response) &&
        endDocumentFetch()) {
        webkit_policy_decision_download(decision);  // whatever it is: the document fetch decides
        return;
    }
    if (webkit_response_policy_decision_is_mime_type_supported(response) &&
        !isAttachment(webkit_response_policy_decision_get_response(response))) {
        webkit_policy_decision_use(decision);
    } else {
        webkit_policy_decision_download(decision);
    }
}

// Never a second window: the address is reported and opened in the same page.
GtkWidget* KioskPage::onCreate(WebKitWebView*, WebKitNavigationAction* action, gpointer self) {
    auto* page = static_cast<KioskPage*>(self);
    const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    if (page->m_hasPolicy && uri != nullptr && !std::string_view(uri).starts_with("about:")) {
        page->m_events.newWindowRequested(uri);
    }
    return nullptr;
}

// A script cannot stop the kiosk with a modal box: nothing is shown, a question is answered
// "no", and a page that asks before it is left is always left.
gboolean KioskPage::onScriptDialog(WebKitWebView*, WebKitScriptDialog* dialog, gpointer) {
    switch (webkit_script_dialog_get_dialog_type(dialog)) {
        case WEBKIT_SCRIPT_DIALOG_CONFIRM:
            webkit_script_dialog_confirm_set_confirmed(dialog, FALSE);
            break;
        case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
            webkit_script_dialog_confirm_set_confirmed(dialog, TRUE);
            break;
        case WEBKIT_SCRIPT_DIALOG_ALERT:
        case WEBKIT_SCRIPT_DIALOG_PROMPT:
            break;
    }
    return TRUE;
}

// No file of the terminal is ever offered to a page, whatever input or script asks.
gboolean KioskPage::onFileChooser(WebKitWebView*, WebKitFileChooserRequest* request, gpointer) {
    webkit_file_chooser_request_cancel(request);
    return TRUE;
}

gboolean KioskPage::onPermission(WebKitWebView*, WebKitPermissionRequest* request, gpointer) {
    webkit_permission_request_deny(request);
    return TRUE;
}

// A login the address itself carries is the engine's to use; nobody is ever asked. The load
// goes on without credentials, so the server's own answer (its login page) is shown.
gboolean KioskPage::onAuthenticate(WebKitWebView*, WebKitAuthenticationRequest* request, gpointer) {
    webkit_authentication_request_authenticate(request, nullptr);
    return TRUE;
}

}  // namespace plintor
