#include "browser/KioskWebView.h"

#include <QCloseEvent>
#include <QWebEngineLoadingInfo>

#include "core/documents/AcrobatParameters.h"
#include "core/support/Log.h"
#include "documents/HostUiGuard.h"

namespace plintor {
namespace {

// The engine's code for a navigation that was stopped or refused, which is no error.
constexpr int ErrorAborted = -3;

}  // namespace

KioskWebView::KioskWebView(QWebEngineProfile* profile, KioskPage::NavigationFilter judge,
                           bool pdfViewer, QWidget* parent)
    : QWebEngineView(parent), m_judge(std::move(judge)), m_pdfViewer(pdfViewer) {
    auto* page = new KioskPage(profile, this);
    page->setNavigationFilter(
        [this](const QUrl& url, bool mainFrame) { return filter(url, mainFrame); });
    setPage(page);
    guardHostUi(*this);
    connect(page, &KioskPage::newWindowRequested, this, &KioskWebView::newWindowRequested);
    connect(page, &QWebEnginePage::loadingChanged, this, &KioskWebView::reportLoading);
    connect(page, &QWebEnginePage::renderProcessPidChanged, this,
            &KioskWebView::reportRendererChange);
}

void KioskWebView::navigate(const QString& address) {
    load(QUrl::fromUserInput(address));
}

void KioskWebView::navigateAsync(const QString& address) {
    stop();
    m_navigateAsyncUrl = address;
    QMetaObject::invokeMethod(this, &KioskWebView::navigateWaiting, Qt::QueuedConnection);
}

void KioskWebView::navigateWaiting() {
    if (m_navigateAsyncUrl.isEmpty()) {
        return;
    }
    stop();
    navigate(m_navigateAsyncUrl);
    m_navigateAsyncUrl.clear();
}

void KioskWebView::closeEvent(QCloseEvent* event) {
    event->ignore();
}

bool KioskWebView::filter(const QUrl& url, bool mainFrame) {
    if (mainFrame && translateNavigation(url)) {
        return false;
    }
    return m_judge(url, mainFrame);
}

// A PDF address is opened with the viewer's parameters: the navigation is refused and the
// translated address follows. True when that happened.
bool KioskWebView::translateNavigation(const QUrl& url) {
    if (url == m_translatedTo) {
        return false;  // our own translation; never translate it twice
    }
    const UrlTranslation translation = translateUrl(url.toString().toStdString(), m_pdfViewer);
    const QString translated = QString::fromStdString(translation.address);
    if (QUrl::fromUserInput(translated) == url) {
        return false;
    }
    for (const std::string& line : translation.logLines) {
        logEntry(line);
    }
    m_translatedTo = QUrl::fromUserInput(translated);
    navigateAsync(translated);
    return true;
}

void KioskWebView::reportLoading(const QWebEngineLoadingInfo& info) {
    if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus) {
        emit documentCompleted(info.url());
    } else if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus &&
               info.errorCode() != ErrorAborted) {
        emit navigationFailed(info.url());
    }
}

void KioskWebView::reportRendererChange(qint64 pid) {
    const bool swapped = m_rendererPid != 0 && pid != 0 && pid != m_rendererPid;
    if (pid != 0) {
        m_rendererPid = pid;
    }
    if (swapped) {
        emit rendererSwapped();
    }
}

}  // namespace plintor
