#pragma once

#include <QWebEnginePage>
#include <functional>

namespace plintor {

// The page of a kiosk browser: every navigation of the page and its frames goes to the
// navigation filter for a decision, new windows are never created (their address is reported
// instead), and the engine's own dialogs (file chooser, script messages) never appear.
class KioskPage final : public QWebEnginePage {
    Q_OBJECT
public:
    // True lets the navigation of the page (`mainFrame`) or of one of its frames go on.
    using NavigationFilter = std::function<bool(const QUrl& url, bool mainFrame)>;

    KioskPage(QWebEngineProfile* profile, QObject* parent);
    void setNavigationFilter(NavigationFilter filter) { m_filter = std::move(filter); }

signals:
    // The page asked for a new window showing `url`.
    void newWindowRequested(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    // Also covers file inputs in frames and inputs that scripts add after the page loaded.
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                          const QString& defaultValue, QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceID) override;

private:
    NavigationFilter m_filter;
};

}  // namespace plintor
