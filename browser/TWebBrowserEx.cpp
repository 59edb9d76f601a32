#include "browser/TWebBrowserEx.h"

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

TWebBrowserEx::TWebBrowserEx(QWebEngineProfile* profile, TKioskPage::TNavigationFilter judge,
                             bool pdfViewer, QWidget* parent)
    : QWebEngineView(parent), FJudge(std::move(judge)), FPdfViewer(pdfViewer) {
    auto* page = new TKioskPage(profile, this);
    page->SetNavigationFilter(
        [this](const QUrl& url, bool mainFrame) { return Filter(url, mainFrame); });
    setPage(page);
    GuardHostUi(*this);
    connect(page, &TKioskPage::newWindowRequested, this, &TWebBrowserEx::newWindowRequested);
    connect(page, &QWebEnginePage::loadingChanged, this, &TWebBrowserEx::ReportLoading);
    connect(page, &QWebEnginePage::renderProcessPidChanged, this,
            &TWebBrowserEx::ReportRendererChange);
}

void TWebBrowserEx::Navigate(const QString& address) {
    load(QUrl::fromUserInput(address));
}

void TWebBrowserEx::NavigateAsync(const QString& address) {
    stop();
    FNavigateAsyncURL = address;
    QMetaObject::invokeMethod(this, &TWebBrowserEx::NavigateWaiting, Qt::QueuedConnection);
}

void TWebBrowserEx::NavigateWaiting() {
    if (FNavigateAsyncURL.isEmpty()) {
        return;
    }
    stop();
    Navigate(FNavigateAsyncURL);
    FNavigateAsyncURL.clear();
}

void TWebBrowserEx::closeEvent(QCloseEvent* event) {
    event->ignore();
}

bool TWebBrowserEx::Filter(const QUrl& url, bool mainFrame) {
    if (mainFrame && TranslateNavigation(url)) {
        return false;
    }
    return FJudge(url, mainFrame);
}

// A PDF address is opened with the viewer's parameters: the navigation is refused and the
// translated address follows. True when that happened.
bool TWebBrowserEx::TranslateNavigation(const QUrl& url) {
    if (url == FTranslatedTo) {
        return false;  // our own translation; never translate it twice
    }
    const TUrlTranslation translation = TranslateUrl(url.toString().toStdString(), FPdfViewer);
    const QString translated = QString::fromStdString(translation.Address);
    if (QUrl::fromUserInput(translated) == url) {
        return false;
    }
    for (const std::string& line : translation.LogLines) {
        LogEntry(line);
    }
    FTranslatedTo = QUrl::fromUserInput(translated);
    NavigateAsync(translated);
    return true;
}

void TWebBrowserEx::ReportLoading(const QWebEngineLoadingInfo& info) {
    if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus) {
        emit documentCompleted(info.url());
    } else if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus &&
               info.errorCode() != ErrorAborted) {
        emit navigationFailed(info.url());
    }
}

void TWebBrowserEx::ReportRendererChange(qint64 pid) {
    const bool swapped = FRendererPid != 0 && pid != 0 && pid != FRendererPid;
    if (pid != 0) {
        FRendererPid = pid;
    }
    if (swapped) {
        emit rendererSwapped();
    }
}

}  // namespace plintor
