#include "browser/KioskPage.h"

#include "browser/NewWindowCatcher.h"

namespace plintor {

KioskPage::KioskPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {}

bool KioskPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
    return !m_filter || m_filter(url, isMainFrame);
}

QWebEnginePage* KioskPage::createWindow(WebWindowType) {
    auto* catcher = new NewWindowCatcher(profile(), this);
    connect(catcher, &NewWindowCatcher::caught, this, &KioskPage::newWindowRequested);
    return catcher;
}

QStringList KioskPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) {
    return {};
}

// The page's own dialogs and console never reach the visitor: nothing is ever shown to a
// visitor as an error, and a script cannot stop the kiosk with a modal box.
void KioskPage::javaScriptAlert(const QUrl&, const QString&) {}

bool KioskPage::javaScriptConfirm(const QUrl&, const QString&) {
    return false;
}

bool KioskPage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) {
    return false;
}

void KioskPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                         const QString&) {}

}  // namespace plintor
