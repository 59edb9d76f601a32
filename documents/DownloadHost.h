#pragma once

#include <string>

namespace plintor {

// What the document handling needs of its browser.
class DownloadHost {
public:
    virtual ~DownloadHost() = default;
    virtual void showProgress(bool visible) = 0;
    virtual void showBlockedHint() = 0;
    // A download was refused (and logged).
    virtual void downloadRefused() = 0;
    // Navigates once the engine's current event has returned.
    virtual void navigateAsync(const std::string& address) = 0;
    // Opens a page that an address taken for a document turned out to be (a login page, say)
    // in the browser itself, this once without taking it for a document again.
    virtual void showAsPage(const std::string& address) = 0;
    // Opens `address` in the page to fetch it as a document: every redirect is judged by the
    // lists before it is followed, and the answer comes back as the engine's next download
    // (or documentFetchFailed of the downloader).
    virtual void fetchThroughPage(const std::string& address) = 0;
    // Gives up the fetch of fetchThroughPage while it has not been answered.
    virtual void stopPageFetch() = 0;
    // Whether the lists allow `address`: an answer that came from elsewhere is never kept.
    virtual bool allows(const std::string& address) = 0;
};

}  // namespace plintor
