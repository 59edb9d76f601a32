#pragma once

#include <QWebEngineView>
#include <functional>

#include "browser/KioskPage.h"

class QWebEngineLoadingInfo;

namespace plintor {

// The browser control: a web view on a kiosk page that cannot be closed, opens PDF addresses
// with the viewer's parameters, navigates later on request, and reports what the page does.
class TWebBrowserEx final : public QWebEngineView {
    Q_OBJECT
public:
    // `judge` decides every navigation of the page and its frames (true lets it go on);
    // `pdfViewer`: the engine shows PDF documents, so their addresses get its parameters.
    TWebBrowserEx(QWebEngineProfile* profile, TKioskPage::TNavigationFilter judge, bool pdfViewer,
                  QWidget* parent);

    void Navigate(const QString& address);
    // Stops, then navigates once the current engine event has returned; the later of two
    // waiting addresses wins.
    void NavigateAsync(const QString& address);

signals:
    // The page asked for a new window showing `url`; none is ever created.
    void newWindowRequested(const QUrl& url);
    // The page at `url` finished loading, or failed to (a stopped load is no failure).
    void documentCompleted(const QUrl& url);
    void navigationFailed(const QUrl& url);
    // The engine moved the page to another renderer process.
    void rendererSwapped();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool Filter(const QUrl& url, bool mainFrame);
    bool TranslateNavigation(const QUrl& url);
    void NavigateWaiting();
    void ReportLoading(const QWebEngineLoadingInfo& info);
    void ReportRendererChange(qint64 pid);

    TKioskPage::TNavigationFilter FJudge;
    bool FPdfViewer;
    QString FNavigateAsyncURL;
    qint64 FRendererPid = 0;
    QUrl FTranslatedTo;
};

}  // namespace plintor
