#include "browser/RestrictedBrowser.h"

#include "browser/AddressChangeLog.h"
#include "browser/KioskPage.h"
#include "browser/KioskSession.h"
#include "browser/KioskWebView.h"
#include "browser/PageRetry.h"
#include "browser/PinchZoom.h"
#include "browser/RendererWatch.h"
#include "core/app/KioskCounters.h"
#include "core/app/KioskState.h"
#include "core/browser/NavigationPolicy.h"
#include "core/support/Log.h"
#include "widgets/BlockedHint.h"
#include "widgets/LoadErrorPanel.h"

namespace plintor {
namespace {

// What a visitor copied or selected is held by the display for the window, not by the page:
// it goes with the session. The kiosk claims both selections with nothing in them, so no
// earlier owner (the page's engine, or another program) answers a paste either.
void forgetSelections(GtkWidget* widget) {
    gdk_clipboard_set_content(gtk_widget_get_clipboard(widget), nullptr);
    gdk_clipboard_set_content(gtk_widget_get_primary_clipboard(widget), nullptr);
}

}  // namespace

RestrictedBrowser::RestrictedBrowser(const KioskState& state, KioskCounters* counters,
                                     const OfficeConverter& converter, Events events)
    : m_state(state),
      m_counters(counters),
      m_converter(converter),
      m_events(std::move(events)),
      m_area(GObjectRef<GtkWidget>::adopt(GTK_WIDGET(g_object_ref_sink(gtk_overlay_new())))),
      m_session(std::make_unique<KioskSession>(
          [this](WebKitDownload* download) { downloadStarted(download); })),
      m_progress(state.clock) {
    openPage();
}

RestrictedBrowser::~RestrictedBrowser() {
    closePage();
}

// A new page has a new input method context too: nothing half-typed outlives the session.
void RestrictedBrowser::startNewSession() {
    closePage();
    documentReplaced();
    forgetSelections(m_area.get());
    m_session->renew();
    openPage();
}

void RestrictedBrowser::renewPage() {
    closePage();
    documentReplaced();
    openPage();
}

void RestrictedBrowser::openPage() {
    m_page = std::make_unique<KioskWebView>(
        m_session->context(), m_session->networkSession(), m_session->content(),
        KioskWebView::Events{
            .loadStarted = [this] { loadStarted(); },
            .committed = [this](const std::string& url) { pageCommitted(url); },
            .documentCompleted = [this](const std::string& url) { documentCompleted(url); },
            .navigationFailed =
                [this](const std::string& url, const std::optional<LoadFailure>& failure) {
                    navigationFailed(url, failure);
                },
            .loadFinished = [this] { loadFinished(); },
            .progressChanged = [this] { m_progress.progressChanged(); },
            .historyChanged =
                [this](bool back, bool forward) {
                    if (m_events.historyChanged) {
                        m_events.historyChanged(back, forward);
                    }
                },
            .addressChanged = [this](const std::string& url) { addressChanged(url); },
            .textFieldFocused =
                [this](bool focused) {
                    if (m_events.textFieldFocused) {
                        m_events.textFieldFocused(focused);
                    }
                },
        });
    m_addressChanges = std::make_unique<AddressChangeLog>();
    WebKitWebView* view = m_page->view();
    webkit_web_view_set_settings(view, m_session->settings());
    m_policy = std::make_unique<KioskPage>(
        view,
        KioskPage::Events{
            .blocked = [this] { showBlockedHint(); },
            .refused =
                [this] {
                    if (m_counters != nullptr) {
                        m_counters->navigationBlocked();
                    }
                },
            .documentRequested = [this](const std::string& url) { m_downloader->download(url); },
            .newWindowRequested = [this](const std::string& url) { newWindowRequested(url); },
            .translated = [this](const std::string& url) { navigateAsync(url); },
            .documentFetchFailed = [this] { m_downloader->pageFetchFailed(); },
            .fragmentAllowed = [this](
                                   const std::string& url,
                                   const std::string& logText) { fragmentAllowed(url, logText); },
        });
    m_policy->setPolicy(
        {.lists = [this]() -> const UrlLists& { return lists(); },
         .documents =
             [this] {
                 return DocumentDiversion{m_state.settings.convertWordToPdf, m_state.pdfViewer};
             }});
    m_downloader = std::make_unique<DocumentDownloader>(static_cast<DownloadHost&>(*this), m_state,
                                                        m_converter);
    m_rendererWatch = std::make_unique<RendererWatch>(
        view, [this](const std::string& reason) { m_events.rendererEnded(reason); },
        [this] { m_events.rendererUnresponsive(); });
    m_session->requestGuard().watch(view);
    webkit_web_view_set_zoom_level(view, m_zoomPercent / 100.0);
    if (!m_state.settings.pinchZoom && !refusePinchZoom(GTK_WIDGET(view))) {
        logEntry("PinchZoom=False not in force: the engine's pinch gesture was not found");
    }
    gtk_overlay_set_child(GTK_OVERLAY(m_area.get()), m_page->widget());
    gtk_widget_set_can_target(m_page->widget(), m_interactive);
    gtk_widget_set_focusable(m_page->widget(), m_interactive);
    if (m_events.historyChanged) {
        m_events.historyChanged(false, false);
    }
}

// The page's web process goes with the page: a hung one would otherwise live on in the
// engine's process cache.
void RestrictedBrowser::closePage() {
    if (!m_page) {
        return;
    }
    clearAnswers();
    m_progress.reset();
    m_downloader.reset();
    m_rendererWatch.reset();
    m_policy.reset();
    m_addressChanges.reset();
    m_allowedFragment.clear();
    webkit_web_view_terminate_web_process(m_page->view());
    gtk_overlay_set_child(GTK_OVERLAY(m_area.get()), nullptr);
    m_page.reset();
    m_homeLoading = false;
    m_homeRequest.clear();
    m_home.clear();
}

void RestrictedBrowser::navigate(const std::string& address) {
    m_policy->expectNavigation(address);
    m_page->navigate(address);
}

void RestrictedBrowser::navigateHome(const std::string& address) {
    clearAnswers();
    m_homeLoading = true;
    m_homeRequest = address;
    m_home.clear();
    navigate(address);
}

// What answered the page that was (a blocked address, a failed load) goes with it.
void RestrictedBrowser::clearAnswers() {
    if (m_hint != nullptr) {
        m_hint->hide();
    }
    if (m_retry) {
        m_retry->dismiss();
    }
}

// A try every RetrySeconds through a long outage would fill the log with the same navigation:
// the failure and the recovery are logged instead.
void RestrictedBrowser::retryLoad(const std::string& address) {
    if (address == m_homeRequest) {
        m_homeLoading = true;
        m_home.clear();
    }
    m_policy->expectNavigation(address, false);
    m_page->navigate(address);
}

// Under the kiosk's page for a failed load the home page may still be there, but the visitor
// sees none: the idle return goes home and takes that page away.
bool RestrictedBrowser::homePageUnchanged() const {
    if (m_retry && m_retry->isShown()) {
        return false;
    }
    return m_homeLoading || (!m_home.empty() && m_page->address() == m_home);
}

std::string RestrictedBrowser::pageAddress() const {
    return m_page->address();
}

void RestrictedBrowser::refresh() {
    m_page->reload();
}

void RestrictedBrowser::goBack() {
    m_page->goBack();
}

void RestrictedBrowser::goForward() {
    m_page->goForward();
}

void RestrictedBrowser::visitorActive() {
    if (m_rendererWatch) {
        m_rendererWatch->activityCame();
    }
}

void RestrictedBrowser::focusPage() {
    if (m_interactive) {
        gtk_widget_grab_focus(m_page->widget());
    }
}

void RestrictedBrowser::setInteractive(bool interactive) {
    m_interactive = interactive;
    gtk_widget_set_can_target(m_page->widget(), interactive);
    gtk_widget_set_focusable(m_page->widget(), interactive);
}

void RestrictedBrowser::setZoom(int percent) {
    m_zoomPercent = percent;
    webkit_web_view_set_zoom_level(m_page->view(), percent / 100.0);
}

void RestrictedBrowser::setProgressIndicator(GtkWidget* progress) {
    m_progress.place(progress, m_area.get());
}

void RestrictedBrowser::setBlockedHint(BlockedHint* hint) {
    m_hint = hint;
    gtk_overlay_add_overlay(GTK_OVERLAY(m_area.get()), hint->widget());
}

void RestrictedBrowser::showBlockedHint() {
    if (m_hint != nullptr) {
        m_hint->show(webkit_web_view_can_go_back(m_page->view()) != FALSE);
    }
}

void RestrictedBrowser::setLoadErrorPanel(LoadErrorPanel* panel) {
    gtk_overlay_add_overlay(GTK_OVERLAY(m_area.get()), panel->widget());
    m_retry = std::make_unique<PageRetry>(
        m_state, *panel, [this](const std::string& address) { retryLoad(address); });
}

UrlLists& RestrictedBrowser::lists() {
    if (m_arrivingLists.valid()) {
        m_lists = m_arrivingLists.get();
        listsInForce();
    }
    return m_lists;
}

void RestrictedBrowser::setLists(std::future<UrlLists> lists) {
    m_arrivingLists = std::move(lists);
}

void RestrictedBrowser::replaceLists(UrlLists lists) {
    m_arrivingLists = {};
    m_lists = std::move(lists);
    listsInForce();
}

void RestrictedBrowser::listsInForce() {
    if (m_denyAllRequests) {
        m_session->requestGuard().judgeBy(m_lists);
    }
    if (m_counters != nullptr) {
        m_counters->listsLoaded({m_lists.whitelistSize(), m_lists.blacklistSize(),
                                 std::chrono::duration_cast<std::chrono::seconds>(
                                     m_state.clock.systemTime().time_since_epoch())
                                     .count()});
    }
}

// Lists still on their way are handed to the guard when they come, which is before the first
// request: the first navigation waits for them. So the start does not wait for them here, nor
// is the list written twice.
void RestrictedBrowser::denyAllRequests() {
    m_denyAllRequests = true;
    if (!m_arrivingLists.valid()) {
        m_session->requestGuard().judgeBy(m_lists);
    }
}

void RestrictedBrowser::documentReplaced() {
    if (m_events.documentReplaced) {
        m_events.documentReplaced();
    }
}

// A field of the document that goes may have had the focus without a word of leaving it.
void RestrictedBrowser::pageCommitted(const std::string& url) {
    documentReplaced();
    m_policy->topLevelSettled();
    focusPage();
    logEntry(navigateCompleteLogText(url));
    if (!m_retry) {
        return;
    }
    // A server that fails the home page is answered as a page that cannot be loaded: the
    // kiosk's first page is no server's error text. Other pages show what their server says.
    if (const int status = m_page->statusCode(); m_homeLoading && status >= 500) {
        m_retry->failed(url, LoadFailure{LoadFailure::Kind::ServerError, status}, m_homeRequest);
    } else {
        m_retry->pageLoaded(url);
    }
}

// The engine's own error page is never shown; a page that cannot be loaded gets the kiosk's.
// A failed document fetch is answered by the document handling.
void RestrictedBrowser::navigationFailed(const std::string& url,
                                         const std::optional<LoadFailure>& failure) {
    m_policy->topLevelSettled();
    if (m_policy->endDocumentFetch()) {
        logEntry(navigateErrorLogText(url));
        m_downloader->pageFetchFailed();
    } else if (failure && m_retry) {
        m_retry->failed(url, *failure, m_homeLoading ? m_homeRequest : url);
    } else {
        logEntry(navigateErrorLogText(url));
    }
}

void RestrictedBrowser::documentCompleted(const std::string& url) {
    logEntry(documentCompleteLogText(url));
    const int blocked = m_session->requestGuard().takeBlockedCount(m_page->view());
    if (blocked > 0) {
        logEntry("Blocked requests: " + std::to_string(blocked));
    }
    if (m_counters != nullptr) {
        m_counters->pageLoaded();
        m_counters->requestsBlocked(blocked);
    }
}

// No new window is ever created: the same browser opens the address once the engine's event
// has returned, and that navigation is judged like any other.
void RestrictedBrowser::newWindowRequested(const std::string& url) {
    navigateAsync(url);
    logEntry(newWindowLogText(url));
}

void RestrictedBrowser::fragmentAllowed(const std::string& url, const std::string& logText) {
    m_allowedFragment = url;
    m_addressChanges->fragmentJudged(logText);
}

void RestrictedBrowser::addressChanged(const std::string& url) {
    if (!m_addressChanges) {
        return;  // the page is being closed
    }
    if (m_addressChanged) {
        m_addressChanged();
    }
    if (url != std::exchange(m_allowedFragment, {})) {
        m_addressChanges->addressChanged(url);
    }
}

void RestrictedBrowser::loadStarted() {
    if (m_retry) {
        m_retry->loadStarted();
    }
    m_progress.loadStarted();
    if (m_rendererWatch) {
        m_rendererWatch->activityCame();
    }
}

void RestrictedBrowser::loadFinished() {
    m_policy->topLevelSettled();
    if (m_homeLoading) {
        m_homeLoading = false;
        m_home = m_page->address();
        if (m_homeLoaded) {
            m_homeLoaded();
        }
    }
    if (m_rendererWatch) {
        m_rendererWatch->answered();
    }
    m_progress.loadFinished();
    if (m_retry) {
        m_retry->loadEnded();
    }
}

void RestrictedBrowser::showProgress(bool visible) {
    m_progress.show(visible);
}

void RestrictedBrowser::downloadRefused() {
    if (m_counters != nullptr) {
        m_counters->downloadBlocked();
    }
}

void RestrictedBrowser::navigateAsync(const std::string& address) {
    m_policy->expectNavigation(address);
    m_page->navigateAsync(address);
}

void RestrictedBrowser::showAsPage(const std::string& address) {
    m_policy->showAsPageOnce(address);
    navigateAsync(address);
}

// The page's own navigation, not a download of the engine's network alone: only a navigation
// has each redirect judged before it is followed.
void RestrictedBrowser::fetchThroughPage(const std::string& address) {
    m_policy->fetchDocument(address);
    m_page->navigateAsync(address);
}

void RestrictedBrowser::stopPageFetch() {
    if (m_policy->endDocumentFetch()) {
        m_page->stop();
    }
}

bool RestrictedBrowser::allows(const std::string& address) {
    return lists().isUrlAllowed(address);
}

// Downloads of the session that belong to no page of this browser (an old page's late one)
// are cancelled: nothing is kept that nobody asked for.
void RestrictedBrowser::downloadStarted(WebKitDownload* download) {
    WebKitWebView* view = webkit_download_get_web_view(download);
    if (m_downloader && (view == nullptr || view == m_page->view())) {
        m_downloader->engineDownloadStarted(download);
    } else {
        webkit_download_cancel(download);
    }
}

}  // namespace plintor
