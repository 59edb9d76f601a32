#pragma once

#include <QPixmap>
#include <QWidget>
#include <memory>

#include "browser/TBalloonHintEx.h"
#include "core/browser/UrlLists.h"
#include "core/support/DateTime.h"
#include "documents/DocumentDownloader.h"

class QAction;
class QWebEngineProfile;

namespace plintor {

struct TKioskState;
class TDenyListInterceptor;
class TOfficeConverter;
class TWebBrowserEx;

// The restricted browser: a panel holding one browser control, the allow and deny lists that
// judge every navigation, the hint that answers a blocked one, the documents a page offers and
// the progress indicator. Every browser event is written to the log.
class TSafeWebBrowser final : public QWidget, private IDownloadHost {
    Q_OBJECT
public:
    // The profile is this browser's alone: its downloads are this browser's documents. `back`
    // and `forward` (may be null) are enabled while the page has somewhere to go.
    TSafeWebBrowser(QWebEngineProfile* profile, const TKioskState& state,
                    const TOfficeConverter& converter, QAction* back, QAction* forward,
                    QWidget* parent);
    ~TSafeWebBrowser() override;

    void Navigate(const QString& address);
    void Refresh();
    void GoBack();
    void GoForward();

    // Floats `progress` over the page while a slow navigation loads.
    void SetProgressIndicator(QWidget* progress);
    void SetBalloonHint(const QString& message, const QPixmap& image);
    void ShowBlockedHint() override;
    bool ShowingBlockedHint() const { return FHint->ShowingHint(); }

    // The deny list stops every request of the page, not only its navigations.
    void DenyAllRequests();
    TUrlLists& Lists() { return FLists; }

private:
    bool JudgeNavigation(const QUrl& url, bool topLevel);
    void PageChanged(const QUrl& url);
    void DocumentCompleted(const QUrl& url);
    void NewWindowRequested(const QUrl& url);
    void LoadStarted();
    void LoadFinished();
    void ProgressChanged();
    void FollowHistory(QAction* back, QAction* forward);

    void ShowProgress(bool visible) override;
    void NavigateAsync(const QString& address) override;
    void ShowAsPage(const QUrl& address) override;

    const TKioskState& FState;
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
