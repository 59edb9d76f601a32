#pragma once

#include <QPixmap>
#include <QWidget>
#include <future>
#include <memory>

#include "browser/BlockedHint.h"
#include "core/browser/ListedBrowser.h"
#include "core/browser/UrlLists.h"
#include "core/support/DateTime.h"
#include "documents/DocumentDownloader.h"

class QAction;
class QWebEngineProfile;

namespace plintor {

struct KioskState;
class DenyListInterceptor;
class OfficeConverter;
class KioskWebView;
class RendererWatch;

// The restricted browser: a panel holding one browser control, the allow and deny lists that
// judge every navigation, the hint that answers a blocked one, the documents a page offers and
// the progress indicator. Every browser event is written to the log.
class RestrictedBrowser final : public QWidget, public ListedBrowser, private DownloadHost {
    Q_OBJECT
public:
    // The browser keeps its session in a profile of its own, off the record: its downloads are
    // this browser's documents, and a new session leaves nothing of the last one. `back` and
    // `forward` (may be null) are enabled while the page has somewhere to go.
    RestrictedBrowser(const KioskState& state, const OfficeConverter& converter, QAction* back,
                      QAction* forward, QWidget* parent);
    ~RestrictedBrowser() override;

    void navigate(const QString& address);
    // Opens the home page, which counts as unchanged until the page goes elsewhere.
    void navigateHome(const QString& address);
    bool homePageUnchanged() const;
    // Drops the page, its renderer and all the engine kept of the session (cookies, storage,
    // cache, logins, history), and starts an empty session on a blank page.
    void startNewSession();
    // A new page and renderer in the same session: what a long-lived page grew is given back.
    void renewPage();
    void refresh();
    void goBack();
    void goForward();
    // The visitor gave input: the renderer is watched closely again.
    void visitorActive();

    // Floats `progress` over the page while a slow navigation loads.
    void setProgressIndicator(QWidget* progress);
    void setBalloonHint(const QString& message, const QPixmap& image);
    void showBlockedHint() override;
    bool showingBlockedHint() const { return m_hint->showingHint(); }

    // The deny list stops every request of the page, not only its navigations.
    void denyAllRequests();
    // The lists in force; lists still on their way (see setLists) are waited for.
    UrlLists& lists() override;
    // The deny-all-requests interceptor reads the lists object, so it judges by new lists from
    // the next request on.
    void replaceLists(UrlLists lists) override { this->lists() = std::move(lists); }
    std::string pageAddress() const override { return address().toString().toStdString(); }
    // Lists that are still being read elsewhere: the first navigation or request that needs
    // them waits for them.
    void setLists(std::future<UrlLists> lists);
    // The address of the page shown now.
    QUrl address() const;

signals:
    // The page's renderer ended abnormally (`reason` as RendererWatch says it), or stopped
    // answering.
    void rendererEnded(const QString& reason, int exitCode);
    void rendererUnresponsive();

private:
    void openProfile();
    void closeProfile();
    void openPage();
    void closePage();
    bool judgeNavigation(const QUrl& url, bool topLevel);
    void pageChanged(const QUrl& url);
    void documentCompleted(const QUrl& url);
    void newWindowRequested(const QUrl& url);
    void loadStarted();
    void loadFinished();
    void progressChanged();
    void followHistory();
    DenyListInterceptor* newInterceptor();

    void showProgress(bool visible) override;
    void navigateAsync(const QString& address) override;
    void showAsPage(const QUrl& address) override;

    const KioskState& m_state;
    const OfficeConverter& m_converter;
    QAction* m_back;
    QAction* m_forward;
    UrlLists m_lists;
    std::future<UrlLists> m_arrivingLists;
    QWebEngineProfile* m_profile = nullptr;  // the session's; goes after the page
    KioskWebView* m_webBrowser = nullptr;
    RendererWatch* m_rendererWatch = nullptr;  // the page's
    QWidget* m_progress = nullptr;
    DateTime m_downTime = 0;
    int m_downCount = 0;
    std::unique_ptr<BlockedHint> m_hint;
    std::unique_ptr<DocumentDownloader> m_downloader;
    DenyListInterceptor* m_interceptor = nullptr;
    bool m_denyAllRequests = false;
    QUrl m_shownAsPage;          // without its fragment; see showAsPage
    bool m_homeLoading = false;  // the home page's load has not finished yet
    QUrl m_home;                 // where it ended up (after redirects)
};

}  // namespace plintor
