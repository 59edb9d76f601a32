#pragma once

#include <QUrl>

namespace plintor {

// The browser control's events, as its owner receives them (on the user-interface thread).
class IWebBrowserEvents {
public:
    virtual ~IWebBrowserEvents() = default;

    // A navigation of the page (`topLevel`) or of a frame is about to start; true cancels it.
    virtual bool WebBrowserBeforeNavigate2(const QUrl& url, bool topLevel) = 0;
    virtual void WebBrowserNavigateComplete2(const QUrl& url) = 0;
    virtual void WebBrowserDocumentComplete(const QUrl& url) = 0;
    // The page asked for a new window showing `url`; none is ever created.
    virtual void WebBrowserNewWindow3(const QUrl& url) = 0;
    // The engine moved the page to another renderer process.
    virtual void WebBrowserNewProcess() = 0;
    virtual void WebBrowserNavigateError(const QUrl& url) = 0;
    // Command 1 is forward, 2 is back.
    virtual void WebBrowserCommandStateChange(int command, bool enabled) = 0;
    virtual void WebBrowserDownloadBegin() = 0;
    virtual void WebBrowserDownloadComplete() = 0;
    virtual void WebBrowserProgressChange() = 0;
};

constexpr int CSC_NAVIGATEFORWARD = 1;
constexpr int CSC_NAVIGATEBACK = 2;

}  // namespace plintor
