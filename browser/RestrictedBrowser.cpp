#include "browser/RestrictedBrowser.h"

#include <QAction>
#include <QFile>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

#include "browser/DenyListInterceptor.h"
#include "browser/KioskProfile.h"
#include "browser/KioskWebView.h"
#include "browser/RendererWatch.h"
#include "core/app/KioskState.h"
#include "core/browser/NavigationPolicy.h"
#include "core/browser/ProgressRule.h"
#include "core/support/Log.h"

namespace plintor {
namespace {

std::string text(const QUrl& url) {
    return url.toString().toStdString();
}

const QString& fileInputGuardScript() {
    static const QString script = [] {
        QFile file(QStringLiteral(":/browser/FileInputGuard.js"));
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll());
    }();
    return script;
}

}  // namespace

RestrictedBrowser::RestrictedBrowser(const KioskState& state, const OfficeConverter& converter,
                                     QAction* back, QAction* forward, QWidget* parent)
    : QWidget(parent),
      m_state(state),
      m_converter(converter),
      m_back(back),
      m_forward(forward),
      m_hint(std::make_unique<BlockedHint>()) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    openProfile();
    openPage();
}

RestrictedBrowser::~RestrictedBrowser() {
    closePage();
    closeProfile();
}

void RestrictedBrowser::startNewSession() {
    closePage();
    closeProfile();
    openProfile();
    openPage();
}

void RestrictedBrowser::renewPage() {
    closePage();
    openPage();
}

void RestrictedBrowser::openProfile() {
    m_profile = createKioskProfile(this);
    if (m_denyAllRequests) {
        m_interceptor = newInterceptor();
        m_profile->setUrlRequestInterceptor(m_interceptor);
    }
    // Not by the request's page: the engine gives some requests none, and asking then crashes.
    connect(m_profile, &QWebEngineProfile::downloadRequested, this,
            [this](QWebEngineDownloadRequest* request) {
                m_downloader->engineDownloadRequested(request);
            });
}

// The profile goes after its pages (the engine keeps its storage while a page uses it), and
// before the interceptor it calls.
void RestrictedBrowser::closeProfile() {
    delete m_profile;
    m_profile = nullptr;
    delete m_interceptor;
    m_interceptor = nullptr;
}

void RestrictedBrowser::openPage() {
    m_webBrowser = new KioskWebView(
        m_profile,
        [this](const QUrl& url, bool topLevel) { return judgeNavigation(url, topLevel); },
        m_state.pdfViewer, this);
    layout()->addWidget(m_webBrowser);
    m_downloader = std::make_unique<DocumentDownloader>(
        *m_webBrowser->page(), static_cast<DownloadHost&>(*this), m_state, m_converter);
    if (m_progress != nullptr) {
        m_progress->setParent(m_webBrowser);
    }
    m_rendererWatch = new RendererWatch(*m_webBrowser->page(), m_webBrowser->page());
    connect(m_rendererWatch, &RendererWatch::ended, this, &RestrictedBrowser::rendererEnded);
    connect(m_rendererWatch, &RendererWatch::unresponsive, this,
            &RestrictedBrowser::rendererUnresponsive);
    connect(m_webBrowser, &QWebEngineView::urlChanged, this, &RestrictedBrowser::pageChanged);
    connect(m_webBrowser, &KioskWebView::documentCompleted, this,
            &RestrictedBrowser::documentCompleted);
    connect(m_webBrowser, &KioskWebView::newWindowRequested, this,
            &RestrictedBrowser::newWindowRequested);
    connect(m_webBrowser, &KioskWebView::navigationFailed, this,
            [](const QUrl& url) { logEntry(navigateErrorLogText(text(url))); });
    connect(m_webBrowser, &KioskWebView::rendererSwapped, this,
            [] { logEntry(NewProcessLogText); });
    connect(m_webBrowser, &QWebEngineView::loadStarted, this, &RestrictedBrowser::loadStarted);
    connect(m_webBrowser, &QWebEngineView::loadProgress, this, &RestrictedBrowser::progressChanged);
    connect(m_webBrowser, &QWebEngineView::loadFinished, this, &RestrictedBrowser::loadFinished);
    followHistory();
}

// The progress indicator lives on the page, and outlives it.
void RestrictedBrowser::closePage() {
    if (m_progress != nullptr) {
        m_progress->hide();
        m_progress->setParent(this);
    }
    m_downloader.reset();
    delete m_webBrowser;
    m_webBrowser = nullptr;
    m_rendererWatch = nullptr;
    m_downCount = 0;
    m_shownAsPage.clear();
    m_homeLoading = false;
    m_home.clear();
}

void RestrictedBrowser::navigate(const QString& address) {
    m_webBrowser->navigate(address);
}

void RestrictedBrowser::navigateHome(const QString& address) {
    m_homeLoading = true;
    m_home.clear();
    navigate(address);
}

bool RestrictedBrowser::homePageUnchanged() const {
    return m_homeLoading || (!m_home.isEmpty() && m_webBrowser->url() == m_home);
}

QUrl RestrictedBrowser::address() const {
    return m_webBrowser->url();
}

void RestrictedBrowser::refresh() {
    m_webBrowser->reload();
}

void RestrictedBrowser::goBack() {
    m_webBrowser->back();
}

void RestrictedBrowser::goForward() {
    m_webBrowser->forward();
}

void RestrictedBrowser::visitorActive() {
    if (m_rendererWatch != nullptr) {
        m_rendererWatch->activityCame();
    }
}

void RestrictedBrowser::setProgressIndicator(QWidget* progress) {
    m_progress = progress;
    m_progress->hide();
    m_progress->setParent(m_webBrowser);
}

void RestrictedBrowser::setBalloonHint(const QString& message, const QPixmap& image) {
    m_hint->setContent(message, image);
}

void RestrictedBrowser::showBlockedHint() {
    m_hint->showAtCursor();
}

UrlLists& RestrictedBrowser::lists() {
    if (m_arrivingLists.valid()) {
        m_lists = m_arrivingLists.get();
    }
    return m_lists;
}

void RestrictedBrowser::setLists(std::future<UrlLists> lists) {
    m_arrivingLists = std::move(lists);
}

DenyListInterceptor* RestrictedBrowser::newInterceptor() {
    return new DenyListInterceptor(
        [this](std::string_view address) { return lists().isUrlDenied(address); }, this);
}

void RestrictedBrowser::denyAllRequests() {
    m_denyAllRequests = true;
    if (m_interceptor == nullptr) {
        m_interceptor = newInterceptor();
        m_profile->setUrlRequestInterceptor(m_interceptor);
    }
}

// The buttons follow the page's own history actions.
void RestrictedBrowser::followHistory() {
    const std::pair<QAction*, QWebEnginePage::WebAction> followers[] = {
        {m_back, QWebEnginePage::Back}, {m_forward, QWebEnginePage::Forward}};
    for (const auto& [button, history] : followers) {
        if (button != nullptr) {
            QAction* pageAction = m_webBrowser->page()->action(history);
            button->setEnabled(pageAction->isEnabled());
            connect(pageAction, &QAction::enabledChanged, button, &QAction::setEnabled);
        }
    }
}

// A document the page offers is taken by the document handling; the page's own load of it is
// cancelled.
bool RestrictedBrowser::judgeNavigation(const QUrl& url, bool topLevel) {
    const bool asPage = topLevel && url.adjusted(QUrl::RemoveFragment) == m_shownAsPage;
    if (topLevel) {
        m_shownAsPage.clear();
    }
    const NavigationVerdict verdict = plintor::judgeNavigation(
        lists(), text(url), topLevel,
        {m_state.settings.convertWordToPdf && !asPage, m_state.pdfViewer && !asPage});
    logEntry(verdict.logText);
    if (verdict.showBlockedHint) {
        showBlockedHint();
    }
    if (verdict.divertToDownload) {
        m_downloader->download(url.toString());
    }
    m_downTime = m_state.clock.now();
    m_downCount = 0;
    return !verdict.cancel;
}

void RestrictedBrowser::pageChanged(const QUrl& url) {
    m_webBrowser->setFocus();
    logEntry(navigateCompleteLogText(text(url)));
}

void RestrictedBrowser::documentCompleted(const QUrl& url) {
    m_webBrowser->page()->runJavaScript(fileInputGuardScript());
    logEntry(documentCompleteLogText(text(url)));
    if (const int blocked = m_interceptor != nullptr ? m_interceptor->takeBlockedCount() : 0;
        blocked > 0) {
        logEntry("Blocked requests: " + std::to_string(blocked));
    }
}

// No new window is ever created: the same browser opens the address once the engine's event
// has returned, and that navigation is judged like any other.
void RestrictedBrowser::newWindowRequested(const QUrl& url) {
    m_webBrowser->navigateAsync(url.toString());
    logEntry(newWindowLogText(text(url)));
}

void RestrictedBrowser::loadStarted() {
    ++m_downCount;
}

void RestrictedBrowser::loadFinished() {
    if (m_homeLoading) {
        m_homeLoading = false;
        m_home = m_webBrowser->url();
    }
    --m_downCount;
    progressChanged();  // the last word on the progress indicator
}

void RestrictedBrowser::progressChanged() {
    showProgress(progressIndicatorVisible(m_downCount, m_downTime, m_state.clock.now()));
}

void RestrictedBrowser::showProgress(bool visible) {
    if (m_progress == nullptr) {
        return;
    }
    m_progress->move((m_webBrowser->width() - m_progress->width()) / 2,
                     (m_webBrowser->height() - m_progress->height()) / 2);
    m_progress->setVisible(visible);
    if (visible) {
        m_progress->raise();
    }
}

void RestrictedBrowser::navigateAsync(const QString& address) {
    m_webBrowser->navigateAsync(address);
}

void RestrictedBrowser::showAsPage(const QUrl& address) {
    m_shownAsPage = address.adjusted(QUrl::RemoveFragment);
    m_webBrowser->navigateAsync(address.toString());
}

}  // namespace plintor
