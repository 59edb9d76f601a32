#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <string>
#include <vector>

class QWebEngineDownloadRequest;
class QWebEnginePage;

namespace plintor {

struct TKioskState;
class TOfficeConverter;

// What the download handling needs of its browser.
class IDownloadHost {
public:
    virtual ~IDownloadHost() = default;
    virtual void ShowProgress(bool visible) = 0;
    virtual void ShowBlockedHint() = 0;
    virtual void NavigateAsync(const QString& address) = 0;
    // Opens a page that an address taken for a document turned out to be (a login page, say)
    // in the browser itself, this once without taking it for a document again.
    virtual void ShowAsPage(const QUrl& address) = 0;
};

// Documents a page offers are fetched by the browser engine itself, with the visitor's
// session (cookies) and the kiosk's certificate rules, into the fixed temporary file; only
// PDF and Word documents that the configuration allows are kept, a Word document is
// converted to PDF when configured, and the result is shown in the same browser. Everything
// else is a blocked download. One download at a time, within a time and a size limit; the
// window keeps painting meanwhile.
class TDocumentDownloader final : public QObject {
    Q_OBJECT
public:
    static constexpr int TransferTimeLimitMs = 60000;
    static constexpr qint64 SizeLimitBytes = 200LL * 1024 * 1024;

    TDocumentDownloader(QWebEnginePage& page, IDownloadHost& host, const TKioskState& state,
                        const TOfficeConverter& converter);

    // A file the engine was about to save; it is fetched under the kiosk's control instead.
    void EngineDownloadRequested(QWebEngineDownloadRequest* request);
    // Fetches a document the visitor opened: a Word document to convert, or a PDF document the
    // browser would show, which is shown whatever DownloadPDF says (and a page that comes instead
    // of it is shown as a page).
    void Download(const QString& source);

private:
    bool StartDownload(const QString& source, bool openedPdf);
    bool RefusedAtOnce(QWebEngineDownloadRequest* request);
    void Fetch(QWebEngineDownloadRequest* request);
    void FetchFinished();
    void Block();
    void Convert(const std::string& document);
    void Show(const std::string& resultPath);
    void Finish();

    QWebEnginePage& FPage;
    IDownloadHost& FHost;
    const TKioskState& FState;
    const TOfficeConverter& FConverter;
    QString FSource;
    std::string FFileName;  // what the fetched file is called, which decides its kind
    std::vector<std::string> FAllowed;
    bool FBusy = false;
    bool FOpenedPdf = false;       // the visitor opened a PDF address itself (Download())
    bool FAwaitingEngine = false;  // Download() asked the engine; its request is ours
    QUrl FGivenUp;                 // asked of the engine, given up before it answered
    QPointer<QWebEngineDownloadRequest> FRequest;
    QTimer FTimeLimit;
};

}  // namespace plintor
