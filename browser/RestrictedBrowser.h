#pragma once

#include <QPixmap>
#include <QWidget>
#include <memory>

#include "browser/BlockedHint.h"
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

// The restricted browser: a panel holding one browser control, the allow and deny lists that
// judge every navigation, the hint that answers a blocked one, the documents a page offers and
// the progress indicator. Every browser event is written to the log.
class RestrictedBrowser final : public QWidget, private DownloadHost {
    Q_OBJECT
public:
    // The profile is this browser's alone: its downloads are this browser's documents. `back`
    // and `forward` (may be null) are enabled while the page has somewhere to go.
    RestrictedBrowser(QWebEngineProfile* profile, const KioskState& state,
                      const OfficeConverter& converter, QAction* back, QAction* forward,
                      QWidget* parent);
    ~RestrictedBrowser() override;

    void navigate(const QString& address);
    void refresh();
    void goBack();
    void goForward();

    // Floats `progress` over the page while a slow navigation loads.
    void setProgressIndicator(QWidget* progress);
    void setBalloonHint(const QString& message, const QPixmap& image);
    void showBlockedHint() override;
    bool showingBlockedHint() const { return m_hint->showingHint(); }

    // The deny list stops every request of the page, not only its navigations.
    void denyAllRequests();
    UrlLists& lists() { return m_lists; }
    // The address of the page shown now.
    QUrl address() const;

private:
    bool judgeNavigation(const QUrl& url, bool topLevel);
    void pageChanged(const QUrl& url);
    void documentCompleted(const QUrl& url);
    void newWindowRequested(const QUrl& url);
    void loadStarted();
    void loadFinished();
    void progressChanged();
    void followHistory(QAction* back, QAction* forward);

    void showProgress(bool visible) override;
    void navigateAsync(const QString& address) override;
    void showAsPage(const QUrl& address) override;

    const KioskState& m_state;
    UrlLists m_lists;
    KioskWebView* m_webBrowser;
    QWidget* m_progress = nullptr;
    DateTime m_downTime = 0;
    int m_downCount = 0;
    std::unique_ptr<BlockedHint> m_hint;
    std::unique_ptr<DocumentDownloader> m_downloader;
    DenyListInterceptor* m_interceptor = nullptr;
    QUrl m_shownAsPage;  // without its fragment; see showAsPage
};

}  // namespace plintor
