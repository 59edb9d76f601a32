#pragma once

#include <QWebEngineView>

#include "browser/IWebBrowserEvents.h"
#include "browser/KioskPage.h"

class QWebEngineLoadingInfo;

namespace plintor {

// The browser control: a web view on a kiosk page that reports its events to one owner,
// remembers the address of the latest navigation start as the source of a possible download,
// navigates later on request and cannot be closed.
class TWebBrowserEx final : public QWebEngineView, private IPageHost {
    Q_OBJECT
public:
    TWebBrowserEx(QWebEngineProfile* profile, QWidget* parent);

    // Events before this call reach nobody.
    void SetEvents(IWebBrowserEvents* events);

    void Navigate(const QString& address);
    // Stops, then navigates once the current engine event has returned; the later of two
    // waiting addresses wins.
    void NavigateAsync(const QString& address);

    const QString& FileSource() const { return FFileSource; }
    void SetFileSource(const QString& address) { FFileSource = address; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool PageNavigationRequested(const QUrl& url, bool mainFrame) override;
    void PageNewWindowRequested(const QUrl& url) override;

    bool TranslateNavigation(const QUrl& url);
    void WmNavigateAsync();
    void ReportCommandState();
    void ReportLoading(const QWebEngineLoadingInfo& info);
    void ReportRendererChange(qint64 pid);

    IWebBrowserEvents* FEvents = nullptr;
    QString FFileSource;
    QString FNavigateAsyncURL;
    qint64 FRendererPid = 0;
    QUrl FTranslatedTo;
};

}  // namespace plintor
