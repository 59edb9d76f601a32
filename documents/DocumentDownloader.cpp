#include "documents/DocumentDownloader.h"

#include <QThread>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <algorithm>
#include <filesystem>

#include "core/app/KioskState.h"
#include "core/browser/Uri.h"
#include "core/browser/UrlHelpers.h"
#include "core/config/Settings.h"
#include "core/documents/AcrobatParameters.h"
#include "core/documents/DocumentFiles.h"
#include "core/documents/DownloadRules.h"
#include "core/support/FileHelpers.h"
#include "core/support/Log.h"
#include "core/support/TextCase.h"
#include "documents/OfficeConverter.h"

namespace plintor {
namespace {

std::string Text(const QString& text) {
    return text.toStdString();
}

// The name the fetched file goes by: the server's (Content-Disposition), else the address's.
std::string FetchedFileName(const QWebEngineDownloadRequest& request, const QString& source) {
    const std::string suggested(Trim(Text(request.suggestedFileName())));
    if (!suggested.empty()) {
        return suggested;
    }
    const std::optional<TURI> uri = ParseURI(Text(source));
    return uri ? std::string(Trim(uri->Document)) : std::string();
}

// Renames temp.tmp to the temporary file of its extension; empty when that fails.
std::string KeepFetchedFile(const TTempFiles& files, const std::string& fileName) {
    const std::string result = DownloadResultPath(files, fileName);
    DeleteFileForced(result);
    std::error_code error;
    std::filesystem::rename(files.Tmp, result, error);
    if (error) {
        std::filesystem::remove(files.Tmp, error);
        return {};
    }
    return result;
}

}  // namespace

TDocumentDownloader::TDocumentDownloader(QWebEnginePage& page, IDownloadHost& host,
                                         const TKioskState& state,
                                         const TOfficeConverter& converter)
    : FPage(page), FHost(host), FState(state), FConverter(converter) {
    FTimeLimit.setSingleShot(true);
    FTimeLimit.setInterval(TransferTimeLimitMs);
    connect(&FTimeLimit, &QTimer::timeout, this, [this] {
        if (FRequest) {
            FRequest->cancel();  // ends as a blocked download when the engine reports it
        } else if (FBusy) {
            FGivenUp = QUrl::fromUserInput(FSource).adjusted(QUrl::RemoveFragment);
            Block();  // the engine never took the download up
        }
    });
}

void TDocumentDownloader::EngineDownloadRequested(QWebEngineDownloadRequest* request) {
    if (RefusedAtOnce(request)) {
        request->cancel();
        return;
    }
    if (FAwaitingEngine && FBusy) {
        FAwaitingEngine = false;
        Fetch(request);
        return;
    }
    if (StartDownload(request->url().toString(), false)) {
        Fetch(request);
    } else {
        request->cancel();
    }
}

void TDocumentDownloader::Download(const QString& source) {
    const bool pdf = ExtractURLFileExt(Text(source)) == FileNameExtension(TempPdfName);
    if (StartDownload(source, pdf)) {
        FAwaitingEngine = true;
        FTimeLimit.start();
        FPage.download(QUrl::fromUserInput(source));  // the file's own name decides its kind
    }
}

// A document is fetched once per visitor action: the engine handing one of the kiosk's own
// documents back (a file it cannot show) must not start another fetch of it, and a fetch given
// up on must not come back when the server finally answers.
bool TDocumentDownloader::RefusedAtOnce(QWebEngineDownloadRequest* request) {
    const QUrl url = request->url();
    if (!FAwaitingEngine && url.adjusted(QUrl::RemoveFragment) == FGivenUp) {
        FGivenUp.clear();
        return true;  // already answered as a blocked download
    }
    const std::vector<std::string> own = ShownDocuments(FState.TempFiles);
    if (url.isLocalFile() &&
        std::find(own.begin(), own.end(), Text(url.toLocalFile())) != own.end()) {
        LogEntry(BlockedDownloadLogText(Text(url.toString())));
        FHost.ShowBlockedHint();
        return true;
    }
    return false;
}

// False when the download ends before any fetch: another one runs, none is allowed, or the
// temporary folder cannot take the file.
bool TDocumentDownloader::StartDownload(const QString& source, bool openedPdf) {
    const auto refuse = [&] {
        LogEntry(BlockedDownloadLogText(Text(source)));
        FHost.ShowBlockedHint();
        return false;
    };
    if (FBusy) {
        return refuse();
    }
    FSource = source;
    FOpenedPdf = openedPdf;
    // The engine shows PDF only: a Word document is kept only when it is converted.
    FAllowed = AllowedExtensions(FState.Settings.DownloadPDF || openedPdf,
                                 FState.Settings.DownloadWord && FState.Settings.ConvertWordToPDF);
    if (FAllowed.empty() ||
        !CanWriteIn(std::filesystem::path(FState.TempFiles.Tmp).parent_path().string())) {
        return refuse();
    }
    FBusy = true;
    FHost.ShowProgress(true);
    return true;
}

void TDocumentDownloader::Fetch(QWebEngineDownloadRequest* request) {
    DeleteFileForced(FState.TempFiles.Tmp);
    FFileName = FetchedFileName(*request, FSource);
    if (FOpenedPdf && IsPageType(Text(request->mimeType()))) {
        const QUrl page = request->url();
        request->cancel();
        Finish();
        FHost.ShowAsPage(page);
        return;
    }
    if (request->totalBytes() > SizeLimitBytes || !IsAcceptedDownload(FFileName, FAllowed)) {
        request->cancel();
        Block();
        return;
    }
    FRequest = request;
    const std::filesystem::path tmp(FState.TempFiles.Tmp);
    request->setDownloadDirectory(QString::fromStdString(tmp.parent_path().string()));
    request->setDownloadFileName(QString::fromStdString(tmp.filename().string()));
    // The size a server announces is known only once the transfer has started.
    connect(request, &QWebEngineDownloadRequest::receivedBytesChanged, this, [this] {
        if (FRequest &&
            std::max(FRequest->receivedBytes(), FRequest->totalBytes()) > SizeLimitBytes) {
            FRequest->cancel();
        }
    });
    connect(request, &QWebEngineDownloadRequest::isFinishedChanged, this,
            &TDocumentDownloader::FetchFinished);
    FTimeLimit.start();
    request->accept();
}

void TDocumentDownloader::FetchFinished() {
    FTimeLimit.stop();
    if (!FRequest || !FRequest->isFinished()) {
        return;
    }
    const bool completed = FRequest->state() == QWebEngineDownloadRequest::DownloadCompleted;
    FRequest->deleteLater();
    FRequest.clear();
    if (!completed) {
        std::error_code ignored;
        std::filesystem::remove(FState.TempFiles.Tmp, ignored);
        Block();
        return;
    }
    const std::string result = KeepFetchedFile(FState.TempFiles, FFileName);
    if (result.empty()) {
        Block();
        return;
    }
    LogEntry(DownloadFileLogText(Text(FSource)));
    LogEntry(DownloadedFileLogText(result));
    if (FState.Settings.ConvertWordToPDF &&
        (result == FState.TempFiles.Doc || result == FState.TempFiles.Docx)) {
        Convert(result);
    } else {
        Show(result);
    }
}

void TDocumentDownloader::Block() {
    LogEntry(BlockedDownloadLogText(Text(FSource)));
    FHost.ShowBlockedHint();
    Finish();
}

// The converter runs apart from the user-interface thread, so the window keeps painting.
void TDocumentDownloader::Convert(const std::string& document) {
    DeleteFileForced(FState.TempFiles.Pdf);
    const std::string outputFolder =
        std::filesystem::path(FState.TempFiles.Pdf).parent_path().string();
    auto converted = std::make_shared<bool>(false);
    QThread* converter = QThread::create([&office = FConverter, document, outputFolder, converted] {
        *converted = office.ConvertToPDF(document, outputFolder);
    });
    connect(converter, &QThread::finished, this, [this, converter, converted, document] {
        converter->deleteLater();
        if (*converted) {
            LogEntry(ConvertedLogText(FState.TempFiles.Pdf));
            Show(FState.TempFiles.Pdf);
        } else {
            LogEntry(ConversionFailedLogText(document));
            FHost.ShowBlockedHint();  // the visitor asked for something that will not come
            Finish();
        }
    });
    converter->start();
}

void TDocumentDownloader::Show(const std::string& resultPath) {
    std::string address = resultPath;
    if (FState.PdfViewer && FileNameExtension(resultPath) == ".pdf") {
        address = AddAcrobatParameters(ToFileURL(resultPath));
    }
    FHost.NavigateAsync(QString::fromStdString(address));
    Finish();
}

void TDocumentDownloader::Finish() {
    FHost.ShowProgress(false);
    FBusy = false;
    FAwaitingEngine = false;
    FOpenedPdf = false;
}

}  // namespace plintor
