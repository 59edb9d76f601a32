#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>

#include "browser/ProgressOverlay.h"
#include "core/browser/ListedBrowser.h"
#include "core/browser/LoadFailure.h"
#include "core/browser/PageZoom.h"
#include "core/browser/UrlLists.h"
#include "documents/DocumentDownloader.h"
#include "glib/GObjectRef.h"

namespace plintor {

struct KioskState;
class AddressChangeLog;
class KioskCounters;
class BlockedHint;
class KioskPage;
class KioskSession;
class KioskWebView;
class LoadErrorPanel;
class OfficeConverter;
class PageRetry;
class RendererWatch;

// The restricted browser: one page in the visitor's session, the allow and deny lists that
// judge every navigation, the panel that answers a blocked one, the kiosk's own page for a page
// that cannot be loaded, the documents a page offers and the progress indicator over the page.
// Every browser event is written to the log.
class RestrictedBrowser final : public ListedBrowser, private DownloadHost {
public:
    struct Events {
        // The page's web process ended abnormally (`reason` as RendererWatch says it), or
        // stopped answering.
        std::function<void(const std::string& reason)> rendererEnded;
        std::function<void()> rendererUnresponsive;
        // The page has (or no longer has) somewhere to go back or forward to.
        std::function<void(bool canGoBack, bool canGoForward)> historyChanged;
        // A text field of the page took the focus (or was tapped again), or none has it now.
        std::function<void(bool focused)> textFieldFocused;
        // The page shows a new document (or is a new page): its fields have no focus yet.
        std::function<void()> documentReplaced;
    };

    // `counters` (null for a page nobody counts) takes the page's loads, what the lists and the
    // document handling refused, and each set of lists that comes into force.
    RestrictedBrowser(const KioskState& state, KioskCounters* counters,
                      const OfficeConverter& converter, Events events);
    RestrictedBrowser(const RestrictedBrowser&) = delete;
    RestrictedBrowser& operator=(const RestrictedBrowser&) = delete;
    ~RestrictedBrowser() override;

    // The page with the progress indicator floated over it.
    GtkWidget* widget() const { return m_area.get(); }

    void navigate(const std::string& address);
    // Opens the home page, which counts as unchanged until the page goes elsewhere.
    void navigateHome(const std::string& address);
    bool homePageUnchanged() const;
    // Drops the page, its web process and all the engine kept of the session (cookies,
    // storage, cache, logins, history), and starts an empty session on a blank page.
    void startNewSession();
    // A new page in the same session: what a long-lived page grew is given back.
    void renewPage();
    void refresh();
    void goBack();
    void goForward();
    // The visitor gave input: the web process is watched closely again.
    void visitorActive();
    // The page takes the keyboard.
    void focusPage();
    // A page nobody can touch (the screensaver): input goes to nobody.
    void setInteractive(bool interactive);
    // The page zoom in percent, for this page and the pages that replace it.
    void setZoom(int percent);

    // Floats `progress` over the page while a slow navigation loads.
    void setProgressIndicator(GtkWidget* progress);
    // Lays `hint` over the page: it answers blocked addresses and downloads from then on.
    void setBlockedHint(BlockedHint* hint);
    void showBlockedHint() override;
    // Lays `panel` over the page: from then on a top-level page that cannot be loaded is
    // answered with it and tried again until it loads.
    void setLoadErrorPanel(LoadErrorPanel* panel);

    // The deny list stops every request of the page, not only its navigations.
    void denyAllRequests();
    // The lists in force; lists still on their way (see setLists) are waited for.
    UrlLists& lists() override;
    // Lists that are still being read elsewhere: the first navigation or request that needs
    // them waits for them.
    void setLists(std::future<UrlLists> lists);
    // Replaces the lists in force, for navigations and (with DenyAllRequests) every request.
    void replaceLists(UrlLists lists) override;
    std::string pageAddress() const override;

    // Told whenever the page's address changes, and whenever a home page opened by
    // navigateHome has loaded or failed to.
    void onAddressChanged(std::function<void()> changed) { m_addressChanged = std::move(changed); }
    void onHomeLoaded(std::function<void()> loaded) { m_homeLoaded = std::move(loaded); }

private:
    void openPage();
    void closePage();
    void documentReplaced();
    void pageCommitted(const std::string& url);
    void documentCompleted(const std::string& url);
    void newWindowRequested(const std::string& url);
    void fragmentAllowed(const std::string& url, const std::string& logText);
    void addressChanged(const std::string& url);
    void navigationFailed(const std::string& url, const std::optional<LoadFailure>& failure);
    void clearAnswers();
    // Loads `address` again, as the home page when the page that failed was the home page.
    void retryLoad(const std::string& address);
    void loadStarted();
    void loadFinished();
    void downloadStarted(WebKitDownload* download);
    void listsInForce();

    void showProgress(bool visible) override;
    void downloadRefused() override;
    void navigateAsync(const std::string& address) override;
    void showAsPage(const std::string& address) override;
    void fetchThroughPage(const std::string& address) override;
    void stopPageFetch() override;
    bool allows(const std::string& address) override;

    const KioskState& m_state;
    KioskCounters* m_counters;
    const OfficeConverter& m_converter;
    Events m_events;
    UrlLists m_lists;
    std::future<UrlLists> m_arrivingLists;
    GObjectRef<GtkWidget> m_area;  // a GtkOverlay: the page, and the progress indicator
    std::unique_ptr<KioskSession> m_session;
    bool m_denyAllRequests = false;
    std::unique_ptr<KioskWebView> m_page;
    std::unique_ptr<KioskPage> m_policy;
    std::unique_ptr<RendererWatch> m_rendererWatch;
    std::unique_ptr<DocumentDownloader> m_downloader;
    std::unique_ptr<AddressChangeLog> m_addressChanges;
    std::string m_allowedFragment;  // logged when judged: its address change is not logged again
    ProgressOverlay m_progress;
    BlockedHint* m_hint = nullptr;
    std::unique_ptr<PageRetry> m_retry;
    bool m_interactive = true;
    int m_zoomPercent = PageZoom::NormalPercent;
    bool m_homeLoading = false;  // the home page's load has not finished yet
    std::string m_homeRequest;   // the home page's address as asked for
    std::string m_home;          // where it ended up (after redirects)
    std::function<void()> m_addressChanged;
    std::function<void()> m_homeLoaded;
};

}  // namespace plintor
