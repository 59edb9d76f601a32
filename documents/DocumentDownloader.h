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

struct KioskState;
class OfficeConverter;

// What the download handling needs of its browser.
class DownloadHost {
public:
    virtual ~DownloadHost() = default;
    virtual void showProgress(bool visible) = 0;
    virtual void showBlockedHint() = 0;
    virtual void navigateAsync(const QString& address) = 0;
    // Opens a page that an address taken for a document turned out to be (a login page, say)
    // in the browser itself, this once without taking it for a document again.
    virtual void showAsPage(const QUrl& address) = 0;
};

// Documents a page offers are fetched by the browser engine itself, with the visitor's
// session (cookies) and the kiosk's certificate rules, into the fixed temporary file; only
// PDF and Word documents that the configuration allows are kept, a Word document is
// converted to PDF when configured, and the result is shown in the same browser. Everything
// else is a blocked download. One download at a time, within a time and a size limit; the
// window keeps painting meanwhile.
class DocumentDownloader final : public QObject {
    Q_OBJECT
public:
    static constexpr int TransferTimeLimitMs = 60000;
    static constexpr qint64 SizeLimitBytes = 200LL * 1024 * 1024;

    DocumentDownloader(QWebEnginePage& page, DownloadHost& host, const KioskState& state,
                       const OfficeConverter& converter);

    // A file the engine was about to save; it is fetched under the kiosk's control instead.
    void engineDownloadRequested(QWebEngineDownloadRequest* request);
    // Fetches a document the visitor opened: a Word document to convert, or a PDF document the
    // browser would show, which is shown whatever DownloadPDF says (and a page that comes instead
    // of it is shown as a page).
    void download(const QString& source);

private:
    bool startDownload(const QString& source, bool openedPdf);
    bool refusedAtOnce(QWebEngineDownloadRequest* request);
    void fetch(QWebEngineDownloadRequest* request);
    void fetchFinished();
    void block();
    void convert(const std::string& document);
    void show(const std::string& resultPath);
    void finish();

    QWebEnginePage& m_page;
    DownloadHost& m_host;
    const KioskState& m_state;
    const OfficeConverter& m_converter;
    QString m_source;
    std::string m_fileName;  // what the fetched file is called, which decides its kind
    std::vector<std::string> m_allowed;
    bool m_busy = false;
    bool m_openedPdf = false;       // the visitor opened a PDF address itself (Download())
    bool m_awaitingEngine = false;  // Download() asked the engine; its request is ours
    QUrl m_givenUp;                 // asked of the engine, given up before it answered
    QPointer<QWebEngineDownloadRequest> m_request;
    QTimer m_timeLimit;
};

}  // namespace plintor
