#include "browser/KioskPage.h"

#include "browser/NewWindowCatcher.h"
#include "core/documents/HostUiCommands.h"

namespace plintor {

TKioskPage::TKioskPage(QWebEngineProfile* profile, IPageHost& host, QObject* parent)
    : QWebEnginePage(profile, parent), FHost(host) {}

bool TKioskPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
    return FHost.PageNavigationRequested(url, isMainFrame);
}

QWebEnginePage* TKioskPage::createWindow(WebWindowType) {
    auto* catcher = new TNewWindowCatcher(profile(), this);
    connect(catcher, &TNewWindowCatcher::caught, this,
            [this](const QUrl& url) { FHost.PageNewWindowRequested(url); });
    return catcher;
}

QStringList TKioskPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) {
    return {};
}

void TKioskPage::javaScriptAlert(const QUrl& securityOrigin, const QString& msg) {
    if (!IsHandledHostCommand(OLECMDID_SHOWMESSAGE)) {
        QWebEnginePage::javaScriptAlert(securityOrigin, msg);
    }
}

bool TKioskPage::javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) {
    return !IsHandledHostCommand(OLECMDID_SHOWMESSAGE) &&
           QWebEnginePage::javaScriptConfirm(securityOrigin, msg);
}

bool TKioskPage::javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                                  const QString& defaultValue, QString* result) {
    return !IsHandledHostCommand(OLECMDID_SHOWMESSAGE) &&
           QWebEnginePage::javaScriptPrompt(securityOrigin, msg, defaultValue, result);
}

void TKioskPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                          const QString& message, int lineNumber,
                                          const QString& sourceID) {
    if (!IsHandledHostCommand(OLECMDID_SHOWSCRIPTERROR)) {
        QWebEnginePage::javaScriptConsoleMessage(level, message, lineNumber, sourceID);
    }
}

}  // namespace plintor
