#include "browser/TWebBrowserEx.h"

#include <QCloseEvent>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>

#include "core/documents/AcrobatParameters.h"
#include "core/support/Log.h"
#include "documents/HostUiGuard.h"

namespace plintor {
namespace {

// The engine's code for a navigation that was stopped or refused, which is no error.
constexpr int ErrorAborted = -3;

}  // namespace

TWebBrowserEx::TWebBrowserEx(QWebEngineProfile* profile, QWidget* parent) : QWebEngineView(parent) {
    auto* page = new TKioskPage(profile, *this, this);
    setPage(page);
    GuardHostUi(*this);
    connect(page, &QWebEnginePage::loadStarted, this, [this] {
        if (FEvents != nullptr) {
            FEvents->WebBrowserDownloadBegin();
        }
    });
    connect(page, &QWebEnginePage::loadProgress, this, [this] {
        if (FEvents != nullptr) {
            FEvents->WebBrowserProgressChange();
        }
    });
    connect(page, &QWebEnginePage::loadFinished, this, [this] {
        if (FEvents != nullptr) {
            FEvents->WebBrowserDownloadComplete();
            FEvents->WebBrowserProgressChange();  // the last word on the progress indicator
        }
        ReportCommandState();
    });
    connect(page, &QWebEnginePage::urlChanged, this, [this](const QUrl& url) {
        if (FEvents != nullptr) {
            FEvents->WebBrowserNavigateComplete2(url);
        }
        ReportCommandState();
    });
    connect(page, &QWebEnginePage::loadingChanged, this, &TWebBrowserEx::ReportLoading);
    connect(page, &QWebEnginePage::renderProcessPidChanged, this,
            &TWebBrowserEx::ReportRendererChange);
}

void TWebBrowserEx::SetEvents(IWebBrowserEvents* events) {
    FEvents = events;
}

void TWebBrowserEx::Navigate(const QString& address) {
    load(QUrl::fromUserInput(address));
}

void TWebBrowserEx::NavigateAsync(const QString& address) {
    stop();
    FNavigateAsyncURL = address;
    QMetaObject::invokeMethod(this, &TWebBrowserEx::WmNavigateAsync, Qt::QueuedConnection);
}

void TWebBrowserEx::WmNavigateAsync() {
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

bool TWebBrowserEx::PageNavigationRequested(const QUrl& url, bool mainFrame) {
    if (mainFrame && TranslateNavigation(url)) {
        return false;
    }
    const bool cancel = FEvents != nullptr && FEvents->WebBrowserBeforeNavigate2(url, mainFrame);
    FFileSource = url.toString();
    return !cancel;
}

// A PDF address is opened with the viewer's parameters: the navigation is refused and the
// translated address follows. True when that happened.
bool TWebBrowserEx::TranslateNavigation(const QUrl& url) {
    if (url == FTranslatedTo) {
        return false;  // our own translation; never translate it twice
    }
    const TUrlTranslation translation =
        TranslateUrl(url.toString().toStdString(), AcrobatAvailable);
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

void TWebBrowserEx::PageNewWindowRequested(const QUrl& url) {
    if (FEvents != nullptr) {
        FEvents->WebBrowserNewWindow3(url);
    }
}

void TWebBrowserEx::ReportCommandState() {
    if (FEvents != nullptr) {
        FEvents->WebBrowserCommandStateChange(CSC_NAVIGATEFORWARD, history()->canGoForward());
        FEvents->WebBrowserCommandStateChange(CSC_NAVIGATEBACK, history()->canGoBack());
    }
}

void TWebBrowserEx::ReportLoading(const QWebEngineLoadingInfo& info) {
    if (FEvents == nullptr) {
        return;
    }
    if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus) {
        FEvents->WebBrowserDocumentComplete(info.url());
    } else if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus &&
               info.errorCode() != ErrorAborted) {
        FEvents->WebBrowserNavigateError(info.url());
    }
}

void TWebBrowserEx::ReportRendererChange(qint64 pid) {
    const bool swapped = FRendererPid != 0 && pid != 0 && pid != FRendererPid;
    if (pid != 0) {
        FRendererPid = pid;
    }
    if (swapped && FEvents != nullptr) {
        FEvents->WebBrowserNewProcess();
    }
}

}  // namespace plintor
