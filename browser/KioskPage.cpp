#include "browser/KioskPage.h"

#include "browser/NewWindowCatcher.h"

namespace plintor {

TKioskPage::TKioskPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {}

bool TKioskPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
    return !FFilter || FFilter(url, isMainFrame);
}

QWebEnginePage* TKioskPage::createWindow(WebWindowType) {
    auto* catcher = new TNewWindowCatcher(profile(), this);
    connect(catcher, &TNewWindowCatcher::caught, this, &TKioskPage::newWindowRequested);
    return catcher;
}

QStringList TKioskPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) {
    return {};
}

// The page's own dialogs and console never reach the visitor: nothing is ever shown to a
// visitor as an error, and a script cannot stop the kiosk with a modal box.
void TKioskPage::javaScriptAlert(const QUrl&, const QString&) {}

bool TKioskPage::javaScriptConfirm(const QUrl&, const QString&) {
    return false;
}

bool TKioskPage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) {
    return false;
}

void TKioskPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                          const QString&) {}

}  // namespace plintor
