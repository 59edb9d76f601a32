#include "browser/TSafeWebBrowser.h"

#include <QAction>
#include <QFile>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

#include "browser/DenyListInterceptor.h"
#include "browser/TWebBrowserEx.h"
#include "core/browser/NavigationPolicy.h"
#include "core/browser/ProgressRule.h"
#include "core/config/Settings.h"
#include "core/documents/AcrobatParameters.h"
#include "core/support/Clock.h"
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

TSafeWebBrowser::TSafeWebBrowser(QWebEngineProfile* profile, QAction* back, QAction* forward,
                                 QWidget* parent)
    : QWidget(parent),
      FCBack(back),
      FCForward(forward),
      FWebBrowser(new TWebBrowserEx(profile, this)),
      FHint(std::make_unique<TBalloonHintEx>()),
      FDownloader(std::make_unique<TDocumentDownloader>(*FWebBrowser->page(),
                                                        static_cast<IDownloadHost&>(*this))) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FWebBrowser);
    FWebBrowser->SetEvents(this);
    WhitelistClear();
    // Not by the request's page: the engine gives some requests none, and asking then crashes.
    connect(profile, &QWebEngineProfile::downloadRequested, this,
            [this](QWebEngineDownloadRequest* request) {
                FDownloader->EngineDownloadRequested(request);
            });
}

TSafeWebBrowser::~TSafeWebBrowser() {
    FWebBrowser->SetEvents(nullptr);
    WhitelistClear();
}

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

void TSafeWebBrowser::Stop() {
    FWebBrowser->stop();
}

void TSafeWebBrowser::SetProgressIndicator(QWidget* progress) {
    FProgress = progress;
    FProgress->hide();
    FProgress->setParent(FWebBrowser);
}

void TSafeWebBrowser::DenyAllRequests() {
    if (FInterceptor == nullptr) {
        FInterceptor = new TDenyListInterceptor(FLists, this);
        FWebBrowser->page()->profile()->setUrlRequestInterceptor(FInterceptor);
    }
}

void TSafeWebBrowser::SetBalloonHint(const QString& message, const QPixmap& image) {
    FHint->SetContent(message, image);
}

void TSafeWebBrowser::ShowBlockedHint() {
    FHint->ShowAtCursor();
}

bool TSafeWebBrowser::WebBrowserBeforeNavigate2(const QUrl& url, bool topLevel) {
    const bool asPage = topLevel && url.adjusted(QUrl::RemoveFragment) == FShownAsPage;
    if (topLevel) {
        FShownAsPage.clear();
    }
    const TNavigationVerdict verdict =
        JudgeNavigation(FLists, Text(url), topLevel,
                        {Settings.ConvertWordToPDF && !asPage, AcrobatAvailable && !asPage});
    LogEntry(verdict.LogText);
    if (verdict.ShowBlockedHint) {
        ShowBlockedHint();
    }
    if (verdict.DivertToDownload) {
        FDownloader->Download(url.toString());
    }
    FDownTime = CurrentClock().Now();
    FDownCount = 0;
    return verdict.Cancel;
}

void TSafeWebBrowser::WebBrowserNavigateComplete2(const QUrl& url) {
    FWebBrowser->setFocus();
    LogEntry(NavigateCompleteLogText(Text(url)));
}

void TSafeWebBrowser::WebBrowserDocumentComplete(const QUrl& url) {
    HookFileInputs();
    LogEntry(DocumentCompleteLogText(Text(url)));
    if (const int blocked = FInterceptor != nullptr ? FInterceptor->TakeBlockedCount() : 0;
        blocked > 0) {
        LogEntry("Blocked requests: " + std::to_string(blocked));
    }
}

void TSafeWebBrowser::WebBrowserNewWindow3(const QUrl& url) {
    FWebBrowser->NavigateAsync(url.toString());
    LogEntry(NewWindowLogText(Text(url)));
}

void TSafeWebBrowser::WebBrowserNewProcess() {
    LogEntry(NewProcessLogText);
}

void TSafeWebBrowser::WebBrowserNavigateError(const QUrl& url) {
    LogEntry(NavigateErrorLogText(Text(url)));
}

void TSafeWebBrowser::WebBrowserCommandStateChange(int command, bool enabled) {
    QAction* action = command == CSC_NAVIGATEFORWARD ? FCForward
                      : command == CSC_NAVIGATEBACK  ? FCBack
                                                     : nullptr;
    if (action != nullptr) {
        action->setEnabled(enabled);
    }
}

void TSafeWebBrowser::WebBrowserDownloadBegin() {
    ++FDownCount;
}

void TSafeWebBrowser::WebBrowserDownloadComplete() {
    --FDownCount;
}

void TSafeWebBrowser::WebBrowserProgressChange() {
    ShowProgress(ProgressIndicatorVisible(FDownCount, FDownTime, CurrentClock().Now()));
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

void TSafeWebBrowser::HookFileInputs() {
    FWebBrowser->page()->runJavaScript(FileInputGuardScript());
}

}  // namespace plintor
