#pragma once

#include <QWebEngineView>
#include <functional>

#include "browser/KioskPage.h"

class QWebEngineLoadingInfo;

namespace plintor {

// The browser control: a web view on a kiosk page that cannot be closed, opens PDF addresses
// with the viewer's parameters, navigates later on request, and reports what the page does.
class KioskWebView final : public QWebEngineView {
    Q_OBJECT
public:
    // `judge` decides every navigation of the page and its frames (true lets it go on);
    // `pdfViewer`: the engine shows PDF documents, so their addresses get its parameters.
    KioskWebView(QWebEngineProfile* profile, KioskPage::NavigationFilter judge, bool pdfViewer,
                 QWidget* parent);

    void navigate(const QString& address);
    // Stops, then navigates once the current engine event has returned; the later of two
    // waiting addresses wins.
    void navigateAsync(const QString& address);

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
    bool filter(const QUrl& url, bool mainFrame);
    bool translateNavigation(const QUrl& url);
    void navigateWaiting();
    void reportLoading(const QWebEngineLoadingInfo& info);
    void reportRendererChange(qint64 pid);

    KioskPage::NavigationFilter m_judge;
    bool m_pdfViewer;
    QString m_navigateAsyncUrl;
    qint64 m_rendererPid = 0;
    QUrl m_translatedTo;
};

}  // namespace plintor
