#include "documents/DocumentDownloader.h"

#include <QThread>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <algorithm>
#include <filesystem>

#include "core/app/KioskState.h"
#include "core/browser/Uri.h"
#include "core/browser/UrlHelpers.h"
#include "core/config/KioskSettings.h"
#include "core/documents/AcrobatParameters.h"
#include "core/documents/DocumentFiles.h"
#include "core/documents/DownloadRules.h"
#include "core/support/FileHelpers.h"
#include "core/support/Log.h"
#include "core/support/TextCase.h"
#include "documents/OfficeConverter.h"

namespace plintor {
namespace {

std::string text(const QString& text) {
    return text.toStdString();
}

// The name the fetched file goes by: the server's (Content-Disposition), else the address's.
std::string fetchedFileName(const QWebEngineDownloadRequest& request, const QString& source) {
    const std::string suggested(trim(text(request.suggestedFileName())));
    if (!suggested.empty()) {
        return suggested;
    }
    const std::optional<Uri> uri = parseUri(text(source));
    return uri ? std::string(trim(uri->document)) : std::string();
}

// Renames temp.tmp to the temporary file of its extension; empty when that fails.
std::string keepFetchedFile(const TempFiles& files, const std::string& fileName) {
    const std::string result = downloadResultPath(files, fileName);
    deleteFileForced(result);
    std::error_code error;
    std::filesystem::rename(files.tmp, result, error);
    if (error) {
        std::filesystem::remove(files.tmp, error);
        return {};
    }
    return result;
}

}  // namespace

DocumentDownloader::DocumentDownloader(QWebEnginePage& page, DownloadHost& host,
                                       const KioskState& state, const OfficeConverter& converter)
    : m_page(page), m_host(host), m_state(state), m_converter(converter) {
    m_timeLimit.setSingleShot(true);
    m_timeLimit.setInterval(TransferTimeLimitMs);
    connect(&m_timeLimit, &QTimer::timeout, this, [this] {
        if (m_request) {
            m_request->cancel();  // ends as a blocked download when the engine reports it
        } else if (m_busy) {
            m_givenUp = QUrl::fromUserInput(m_source).adjusted(QUrl::RemoveFragment);
            block();  // the engine never took the download up
        }
    });
}

void DocumentDownloader::engineDownloadRequested(QWebEngineDownloadRequest* request) {
    if (refusedAtOnce(request)) {
        request->cancel();
        return;
    }
    if (m_awaitingEngine && m_busy) {
        m_awaitingEngine = false;
        fetch(request);
        return;
    }
    if (startDownload(request->url().toString(), false)) {
        fetch(request);
    } else {
        request->cancel();
    }
}

void DocumentDownloader::download(const QString& source) {
    const bool pdf = extractUrlFileExt(text(source)) == fileNameExtension(TempPdfName);
    if (startDownload(source, pdf)) {
        m_awaitingEngine = true;
        m_timeLimit.start();
        m_page.download(QUrl::fromUserInput(source));  // the file's own name decides its kind
    }
}

// A document is fetched once per visitor action: the engine handing one of the kiosk's own
// documents back (a file it cannot show) must not start another fetch of it, and a fetch given
// up on must not come back when the server finally answers.
bool DocumentDownloader::refusedAtOnce(QWebEngineDownloadRequest* request) {
    const QUrl url = request->url();
    if (!m_awaitingEngine && url.adjusted(QUrl::RemoveFragment) == m_givenUp) {
        m_givenUp.clear();
        return true;  // already answered as a blocked download
    }
    const std::vector<std::string> own = shownDocuments(m_state.tempFiles);
    if (url.isLocalFile() &&
        std::find(own.begin(), own.end(), text(url.toLocalFile())) != own.end()) {
        logEntry(blockedDownloadLogText(text(url.toString())));
        m_host.showBlockedHint();
        return true;
    }
    return false;
}

// False when the download ends before any fetch: another one runs, none is allowed, or the
// temporary folder cannot take the file.
bool DocumentDownloader::startDownload(const QString& source, bool openedPdf) {
    const auto refuse = [&] {
        logEntry(blockedDownloadLogText(text(source)));
        m_host.showBlockedHint();
        return false;
    };
    if (m_busy) {
        return refuse();
    }
    m_source = source;
    m_openedPdf = openedPdf;
    // The engine shows PDF only: a Word document is kept only when it is converted.
    m_allowed =
        allowedExtensions(m_state.settings.downloadPdf || openedPdf,
                          m_state.settings.downloadWord && m_state.settings.convertWordToPdf);
    if (m_allowed.empty() ||
        !canWriteIn(std::filesystem::path(m_state.tempFiles.tmp).parent_path().string())) {
        return refuse();
    }
    m_busy = true;
    m_host.showProgress(true);
    return true;
}

void DocumentDownloader::fetch(QWebEngineDownloadRequest* request) {
    deleteFileForced(m_state.tempFiles.tmp);
    m_fileName = fetchedFileName(*request, m_source);
    if (m_openedPdf && isPageType(text(request->mimeType()))) {
        const QUrl page = request->url();
        request->cancel();
        finish();
        m_host.showAsPage(page);
        return;
    }
    if (request->totalBytes() > SizeLimitBytes || !isAcceptedDownload(m_fileName, m_allowed)) {
        request->cancel();
        block();
        return;
    }
    m_request = request;
    const std::filesystem::path tmp(m_state.tempFiles.tmp);
    request->setDownloadDirectory(QString::fromStdString(tmp.parent_path().string()));
    request->setDownloadFileName(QString::fromStdString(tmp.filename().string()));
    // The size a server announces is known only once the transfer has started.
    connect(request, &QWebEngineDownloadRequest::receivedBytesChanged, this, [this] {
        if (m_request &&
            std::max(m_request->receivedBytes(), m_request->totalBytes()) > SizeLimitBytes) {
            m_request->cancel();
        }
    });
    connect(request, &QWebEngineDownloadRequest::isFinishedChanged, this,
            &DocumentDownloader::fetchFinished);
    m_timeLimit.start();
    request->accept();
}

void DocumentDownloader::fetchFinished() {
    m_timeLimit.stop();
    if (!m_request || !m_request->isFinished()) {
        return;
    }
    const bool completed = m_request->state() == QWebEngineDownloadRequest::DownloadCompleted;
    m_request->deleteLater();
    m_request.clear();
    if (!completed) {
        std::error_code ignored;
        std::filesystem::remove(m_state.tempFiles.tmp, ignored);
        block();
        return;
    }
    const std::string result = keepFetchedFile(m_state.tempFiles, m_fileName);
    if (result.empty()) {
        block();
        return;
    }
    logEntry(downloadFileLogText(text(m_source)));
    logEntry(downloadedFileLogText(result));
    if (m_state.settings.convertWordToPdf &&
        (result == m_state.tempFiles.doc || result == m_state.tempFiles.docx)) {
        convert(result);
    } else {
        show(result);
    }
}

void DocumentDownloader::block() {
    logEntry(blockedDownloadLogText(text(m_source)));
    m_host.showBlockedHint();
    finish();
}

// The converter runs apart from the user-interface thread, so the window keeps painting.
void DocumentDownloader::convert(const std::string& document) {
    deleteFileForced(m_state.tempFiles.pdf);
    const std::string outputFolder =
        std::filesystem::path(m_state.tempFiles.pdf).parent_path().string();
    auto converted = std::make_shared<bool>(false);
    QThread* converter =
        QThread::create([&office = m_converter, document, outputFolder, converted] {
            *converted = office.convertToPdf(document, outputFolder);
        });
    connect(converter, &QThread::finished, this, [this, converter, converted, document] {
        converter->deleteLater();
        if (*converted) {
            logEntry(convertedLogText(m_state.tempFiles.pdf));
            show(m_state.tempFiles.pdf);
        } else {
            logEntry(conversionFailedLogText(document));
            m_host.showBlockedHint();  // the visitor asked for something that will not come
            finish();
        }
    });
    converter->start();
}

void DocumentDownloader::show(const std::string& resultPath) {
    std::string address = resultPath;
    if (m_state.pdfViewer && fileNameExtension(resultPath) == ".pdf") {
        address = addAcrobatParameters(toFileUrl(resultPath));
    }
    m_host.navigateAsync(QString::fromStdString(address));
    finish();
}

void DocumentDownloader::finish() {
    m_host.showProgress(false);
    m_busy = false;
    m_awaitingEngine = false;
    m_openedPdf = false;
}

}  // namespace plintor
