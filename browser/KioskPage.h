#pragma once

#include <QWebEnginePage>

namespace plintor {

// Receives what the page itself decides nothing about.
class IPageHost {
public:
    virtual ~IPageHost() = default;
    // True lets the navigation of the page or of one of its frames go on.
    virtual bool PageNavigationRequested(const QUrl& url, bool mainFrame) = 0;
    virtual void PageNewWindowRequested(const QUrl& url) = 0;
};

// The page of a kiosk browser: every navigation goes to its host for a decision, new windows
// are never created, and the engine's own dialogs (file chooser, script messages) never appear.
class TKioskPage final : public QWebEnginePage {
    Q_OBJECT
public:
    TKioskPage(QWebEngineProfile* profile, IPageHost& host, QObject* parent);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    // Also covers file inputs in frames and inputs that scripts add after the page loaded.
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                          QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceID) override;

private:
    IPageHost& FHost;
};

}  // namespace plintor
