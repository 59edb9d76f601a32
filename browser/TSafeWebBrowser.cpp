#include "browser/TSafeWebBrowser.h"

#include <QAction>
#include <QFile>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

#include "browser/DenyListInterceptor.h"
#include "browser/TWebBrowserEx.h"
#include "core/app/KioskState.h"
#include "core/browser/NavigationPolicy.h"
#include "core/browser/ProgressRule.h"
#include "core/support/Log.h"

namespace plintor {
namespace {

std::string Text(const QUrl& url) {
    return url.toString().toStdString();
}

const QString& FileInputGuardScript() {
    static const QString script = [] {
        QFile file(QStringLiteral(":/browser/FileInputGuard.js"));
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll());
    }();
    return script;
}

}  // namespace

TSafeWebBrowser::TSafeWebBrowser(QWebEngineProfile* profile, const TKioskState& state,
                                 const TOfficeConverter& converter, QAction* back, QAction* forward,
                                 QWidget* parent)
    : QWidget(parent),
      FState(state),
      FWebBrowser(new TWebBrowserEx(
          profile,
          [this](const QUrl& url, bool topLevel) { return JudgeNavigation(url, topLevel); },
          state.PdfViewer, this)),
      FHint(std::make_unique<TBalloonHintEx>()),
      FDownloader(std::make_unique<TDocumentDownloader>(
          *FWebBrowser->page(), static_cast<IDownloadHost&>(*this), state, converter)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FWebBrowser);
    connect(FWebBrowser, &QWebEngineView::urlChanged, this, &TSafeWebBrowser::PageChanged);
    connect(FWebBrowser, &TWebBrowserEx::documentCompleted, this,
            &TSafeWebBrowser::DocumentCompleted);
    connect(FWebBrowser, &TWebBrowserEx::newWindowRequested, this,
            &TSafeWebBrowser::NewWindowRequested);
    connect(FWebBrowser, &TWebBrowserEx::navigationFailed, this,
            [](const QUrl& url) { LogEntry(NavigateErrorLogText(Text(url))); });
    connect(FWebBrowser, &TWebBrowserEx::rendererSwapped, this,
            [] { LogEntry(NewProcessLogText); });
    connect(FWebBrowser, &QWebEngineView::loadStarted, this, &TSafeWebBrowser::LoadStarted);
    connect(FWebBrowser, &QWebEngineView::loadProgress, this, &TSafeWebBrowser::ProgressChanged);
    connect(FWebBrowser, &QWebEngineView::loadFinished, this, &TSafeWebBrowser::LoadFinished);
    FollowHistory(back, forward);
    // Not by the request's page: the engine gives some requests none, and asking then crashes.
    connect(profile, &QWebEngineProfile::downloadRequested, this,
            [this](QWebEngineDownloadRequest* request) {
                FDownloader->EngineDownloadRequested(request);
            });
}

TSafeWebBrowser::~TSafeWebBrowser() = default;

void TSafeWebBrowser::Navigate(const QString& address) {
    FWebBrowser->Navigate(address);
}

void TSafeWebBrowser::Refresh() {
    FWebBrowser->reload();
}

void TSafeWebBrowser::GoBack() {
    FWebBrowser->back();
}

void TSafeWebBrowser::GoForward() {
    FWebBrowser->forward();
}

void TSafeWebBrowser::SetProgressIndicator(QWidget* progress) {
    FProgress = progress;
    FProgress->hide();
    FProgress->setParent(FWebBrowser);
}

void TSafeWebBrowser::SetBalloonHint(const QString& message, const QPixmap& image) {
    FHint->SetContent(message, image);
}

void TSafeWebBrowser::ShowBlockedHint() {
    FHint->ShowAtCursor();
}

void TSafeWebBrowser::DenyAllRequests() {
    if (FInterceptor == nullptr) {
        FInterceptor = new TDenyListInterceptor(FLists, this);
        FWebBrowser->page()->profile()->setUrlRequestInterceptor(FInterceptor);
    }
}

// The buttons follow the page's own history actions.
void TSafeWebBrowser::FollowHistory(QAction* back, QAction* forward) {
    const std::pair<QAction*, QWebEnginePage::WebAction> followers[] = {
        {back, QWebEnginePage::Back}, {forward, QWebEnginePage::Forward}};
    for (const auto& [button, history] : followers) {
        if (button != nullptr) {
            QAction* pageAction = FWebBrowser->page()->action(history);
            button->setEnabled(pageAction->isEnabled());
            connect(pageAction, &QAction::enabledChanged, button, &QAction::setEnabled);
        }
    }
}

// A document the page offers is taken by the document handling; the page's own load of it is
// cancelled.
bool TSafeWebBrowser::JudgeNavigation(const QUrl& url, bool topLevel) {
    const bool asPage = topLevel && url.adjusted(QUrl::RemoveFragment) == FShownAsPage;
    if (topLevel) {
        FShownAsPage.clear();
    }
    const TNavigationVerdict verdict = plintor::JudgeNavigation(
        FLists, Text(url), topLevel,
        {FState.Settings.ConvertWordToPDF && !asPage, FState.PdfViewer && !asPage});
    LogEntry(verdict.LogText);
    if (verdict.ShowBlockedHint) {
        ShowBlockedHint();
    }
    if (verdict.DivertToDownload) {
        FDownloader->Download(url.toString());
    }
    FDownTime = FState.Clock.Now();
    FDownCount = 0;
    return !verdict.Cancel;
}

void TSafeWebBrowser::PageChanged(const QUrl& url) {
    FWebBrowser->setFocus();
    LogEntry(NavigateCompleteLogText(Text(url)));
}

void TSafeWebBrowser::DocumentCompleted(const QUrl& url) {
    FWebBrowser->page()->runJavaScript(FileInputGuardScript());
    LogEntry(DocumentCompleteLogText(Text(url)));
    if (const int blocked = FInterceptor != nullptr ? FInterceptor->TakeBlockedCount() : 0;
        blocked > 0) {
        LogEntry("Blocked requests: " + std::to_string(blocked));
    }
}

// No new window is ever created: the same browser opens the address once the engine's event
// has returned, and that navigation is judged like any other.
void TSafeWebBrowser::NewWindowRequested(const QUrl& url) {
    FWebBrowser->NavigateAsync(url.toString());
    LogEntry(NewWindowLogText(Text(url)));
}

void TSafeWebBrowser::LoadStarted() {
    ++FDownCount;
}

void TSafeWebBrowser::LoadFinished() {
    --FDownCount;
    ProgressChanged();  // the last word on the progress indicator
}

void TSafeWebBrowser::ProgressChanged() {
    ShowProgress(ProgressIndicatorVisible(FDownCount, FDownTime, FState.Clock.Now()));
}

void TSafeWebBrowser::ShowProgress(bool visible) {
    if (FProgress == nullptr) {
        return;
    }
    FProgress->move((FWebBrowser->width() - FProgress->width()) / 2,
                    (FWebBrowser->height() - FProgress->height()) / 2);
    FProgress->setVisible(visible);
    if (visible) {
        FProgress->raise();
    }
}

void TSafeWebBrowser::NavigateAsync(const QString& address) {
    FWebBrowser->NavigateAsync(address);
}

void TSafeWebBrowser::ShowAsPage(const QUrl& address) {
    FShownAsPage = address.adjusted(QUrl::RemoveFragment);
    FWebBrowser->NavigateAsync(address.toString());
}

}  // namespace plintor
