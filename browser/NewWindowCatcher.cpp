#include "browser/NewWindowCatcher.h"

#include <QTimer>

namespace plintor {
namespace {

// A window that never navigates (window.open() with nothing to show) is dropped after this.
constexpr int CatchTimeoutMs = 10000;

}  // namespace

NewWindowCatcher::NewWindowCatcher(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
    QTimer::singleShot(CatchTimeoutMs, this, &QObject::deleteLater);
}

bool NewWindowCatcher::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
    // window.open("") starts at about:blank before the script sets the real address.
    if (isMainFrame && !m_caught && url.scheme() != QLatin1String("about")) {
        m_caught = true;
        emit caught(url);
        deleteLater();
    }
    return false;
}

}  // namespace plintor
