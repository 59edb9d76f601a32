#pragma once

#include <QPixmap>
#include <QWidget>
#include <memory>

#include "browser/IWebBrowserEvents.h"
#include "browser/TBalloonHintEx.h"
#include "core/browser/UrlLists.h"
#include "core/support/DateTime.h"
#include "documents/DocumentDownloader.h"

class QAction;
class QWebEngineProfile;

namespace plintor {

class TDenyListInterceptor;
class TWebBrowserEx;

// The restricted browser: a panel holding one browser control, the allow and deny lists that
// judge every navigation, the hint that answers a blocked one, and the progress indicator.
class TSafeWebBrowser final : public QWidget, private IWebBrowserEvents, private IDownloadHost {
    Q_OBJECT
public:
    // `back` and `forward` (may be null) follow the browser's history. The profile is this
    // browser's alone: its downloads are this browser's documents.
    TSafeWebBrowser(QWebEngineProfile* profile, QAction* back, QAction* forward, QWidget* parent);
    ~TSafeWebBrowser() override;

    TWebBrowserEx* GetWebBrowser() const { return FWebBrowser; }
    TBalloonHintEx* GetBalloonHint() const { return FHint.get(); }

    void Navigate(const QString& address);
    void Refresh();
    void GoBack();
    void GoForward();
    void Stop();

    // Floats `progress` over the page while a slow navigation loads.
    void SetProgressIndicator(QWidget* progress);
    void SetBalloonHint(const QString& message, const QPixmap& image);
    void ShowBlockedHint() override;

    // The deny list stops every request of the page, not only its navigations.
    void DenyAllRequests();

    void WhitelistClear() { FLists.WhitelistClear(); }
    void WhitelistAllowAll() { FLists.WhitelistAllowAll(); }
    void WhitelistAddURL(const std::string& url) { FLists.WhitelistAddURL(url); }
    void BlacklistAddURL(const std::string& url) { FLists.BlacklistAddURL(url); }
    TUrlLists& Lists() { return FLists; }

private:
    bool WebBrowserBeforeNavigate2(const QUrl& url, bool topLevel) override;
    void WebBrowserNavigateComplete2(const QUrl& url) override;
    void WebBrowserDocumentComplete(const QUrl& url) override;
    void WebBrowserNewWindow3(const QUrl& url) override;
    void WebBrowserNewProcess() override;
    void WebBrowserNavigateError(const QUrl& url) override;
    void WebBrowserCommandStateChange(int command, bool enabled) override;
    void WebBrowserDownloadBegin() override;
    void WebBrowserDownloadComplete() override;
    void WebBrowserProgressChange() override;

    void HookFileInputs();

    void ShowProgress(bool visible) override;
    void NavigateAsync(const QString& address) override;
    void ShowAsPage(const QUrl& address) override;

    QAction* FCBack;
    QAction* FCForward;
    TUrlLists FLists;
    TWebBrowserEx* FWebBrowser;
    QWidget* FProgress = nullptr;
    TDateTime FDownTime = 0;
    int FDownCount = 0;
    std::unique_ptr<TBalloonHintEx> FHint;
    std::unique_ptr<TDocumentDownloader> FDownloader;
    TDenyListInterceptor* FInterceptor = nullptr;
    QUrl FShownAsPage;  // without its fragment; see ShowAsPage
};

}  // namespace plintor
