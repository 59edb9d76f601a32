#include "documents/DocumentDownloader.h"

#include <algorithm>
#include <utility>

#include "core/app/KioskState.h"
#include "core/documents/DownloadRules.h"
#include "core/support/Log.h"

namespace plintor {

DocumentDownloader::DocumentDownloader(DownloadHost& host, const KioskState& state,
                                       const OfficeConverter& converter)
    : m_host(host),
      m_fetch(state.settings, state.documentFolder, state.tempFiles, state.pdfViewer),
      m_conversion(converter),
      m_timeLimit([this] { run(m_fetch.timeUp()); }) {}

// Nothing the engine still fetches may land in the temporary file once no one follows it.
DocumentDownloader::~DocumentDownloader() {
    for (const auto& transfer : m_transfers) {
        transfer->signals.clear();
        cancel(*transfer);
    }
    if (m_pageFetch != 0) {
        m_host.stopPageFetch();
    }
}

void DocumentDownloader::engineDownloadStarted(WebKitDownload* download) {
    if (m_pageFetch != 0) {
        follow(std::exchange(m_pageFetch, 0), GObjectRef<WebKitDownload>::share(download));
        return;
    }
    const DownloadId id = ++m_lastId;
    follow(id, GObjectRef<WebKitDownload>::share(download));
    WebKitURIRequest* request = webkit_download_get_request(download);
    const char* address = request != nullptr ? webkit_uri_request_get_uri(request) : nullptr;
    run(m_fetch.engineStarted(id, address != nullptr ? address : ""));
}

void DocumentDownloader::download(const std::string& source) {
    run(m_fetch.opened(source, ++m_lastId));
}

void DocumentDownloader::pageFetchFailed() {
    if (m_pageFetch != 0) {
        run(m_fetch.failed(std::exchange(m_pageFetch, 0)));
    }
}

// A download is followed until its end, so that no answer of the engine goes unheard (one
// unanswered would be saved in the user's download folder). The engine keeps a download it
// reports on alive, so an ended one is let go only when the next one comes.
void DocumentDownloader::follow(DownloadId id, GObjectRef<WebKitDownload> download) {
    std::erase_if(m_transfers, [](const auto& transfer) { return transfer->ended; });
    auto transfer = std::make_unique<Transfer>(Transfer{id, std::move(download), {}});
    WebKitDownload* engine = transfer->download.get();
    transfer->signals.emplace_back(engine, "decide-destination", G_CALLBACK(decideDestination),
                                   this);
    transfer->signals.emplace_back(engine, "received-data", G_CALLBACK(receivedData), this);
    transfer->signals.emplace_back(engine, "failed", G_CALLBACK(failed), this);
    transfer->signals.emplace_back(engine, "finished", G_CALLBACK(finished), this);
    m_transfers.push_back(std::move(transfer));
}

DocumentDownloader::Transfer* DocumentDownloader::find(WebKitDownload* download) {
    const auto found = std::find_if(m_transfers.begin(), m_transfers.end(),
                                    [&](const auto& t) { return t->download.get() == download; });
    return found != m_transfers.end() ? found->get() : nullptr;
}

DocumentDownloader::Transfer* DocumentDownloader::find(DownloadId id) {
    const auto found = std::find_if(m_transfers.begin(), m_transfers.end(),
                                    [&](const auto& t) { return t->id == id; });
    return found != m_transfers.end() ? found->get() : nullptr;
}

// The engine may report on a download while an action cancels it; the fetch has settled its
// state before any action runs, so such a report finds it ready.
void DocumentDownloader::run(const DocumentFetch::Actions& actions) {
    for (const FetchAction& action : actions) {
        run(action);
    }
}

void DocumentDownloader::run(const FetchAction& action) {
    using Kind = FetchAction::Kind;
    switch (action.kind) {
        case Kind::Fetch:
            m_pageFetch = action.download;
            m_host.fetchThroughPage(action.text);
            break;
        case Kind::Cancel:
            if (Transfer* transfer = find(action.download)) {
                cancel(*transfer);
            } else if (action.download == m_pageFetch) {
                m_pageFetch = 0;
                m_host.stopPageFetch();
            }
            break;
        case Kind::Accept:
            if (Transfer* transfer = find(action.download)) {
                webkit_download_set_allow_overwrite(transfer->download.get(), TRUE);
                webkit_download_set_destination(transfer->download.get(), action.text.c_str());
            }
            break;
        case Kind::Log:
            logEntry(action.text);
            break;
        case Kind::Refused:
            logEntry(blockedDownloadLogText(action.text));
            m_host.downloadRefused();
            break;
        case Kind::BlockedHint:
            m_host.showBlockedHint();
            break;
        case Kind::Progress:
            m_host.showProgress(action.on);
            break;
        case Kind::StartTimer:
            m_timeLimit.start(DocumentFetch::TimeLimitMs);
            break;
        case Kind::StopTimer:
            m_timeLimit.stop();
            break;
        case Kind::Navigate:
            m_host.navigateAsync(action.text);
            break;
        case Kind::ShowAsPage:
            m_host.showAsPage(action.text);
            break;
        case Kind::Convert:
            m_conversion.start(action.text, action.folder,
                               [this](bool converted) { run(m_fetch.converted(converted)); });
            break;
    }
}

// Once only: a second cancel of a download the engine is still ending crashed it later.
void DocumentDownloader::cancel(Transfer& transfer) {
    if (!transfer.cancelled && !transfer.ended) {
        transfer.cancelled = true;
        webkit_download_cancel(transfer.download.get());
    }
}

// Answered at once: the destination is set, or the download cancelled.
gboolean DocumentDownloader::decideDestination(WebKitDownload* download, gchar* suggestedName,
                                               gpointer self) {
    auto* downloader = static_cast<DocumentDownloader*>(self);
    const Transfer* transfer = downloader->find(download);
    WebKitURIResponse* response = webkit_download_get_response(download);
    if (transfer == nullptr || response == nullptr) {
        webkit_download_cancel(download);
        return TRUE;
    }
    const char* address = webkit_uri_response_get_uri(response);
    const char* mimeType = webkit_uri_response_get_mime_type(response);
    const std::string from = address != nullptr ? address : "";
    const FetchResponse answer{
        from, suggestedName != nullptr ? suggestedName : "", mimeType != nullptr ? mimeType : "",
        webkit_uri_response_get_content_length(response), downloader->m_host.allows(from)};
    downloader->run(downloader->m_fetch.responded(transfer->id, answer));
    return TRUE;
}

void DocumentDownloader::receivedData(WebKitDownload* download, guint64, gpointer self) {
    auto* downloader = static_cast<DocumentDownloader*>(self);
    if (const Transfer* transfer = downloader->find(download)) {
        WebKitURIResponse* response = webkit_download_get_response(download);
        downloader->run(downloader->m_fetch.received(
            transfer->id, webkit_download_get_received_data_length(download),
            response != nullptr ? webkit_uri_response_get_content_length(response) : 0));
    }
}

void DocumentDownloader::failed(WebKitDownload* download, GError*, gpointer self) {
    auto* downloader = static_cast<DocumentDownloader*>(self);
    if (const Transfer* transfer = downloader->find(download)) {
        downloader->run(downloader->m_fetch.failed(transfer->id));
    }
}

// Comes after `failed` too, where the fetch has already let the download go.
void DocumentDownloader::finished(WebKitDownload* download, gpointer self) {
    auto* downloader = static_cast<DocumentDownloader*>(self);
    if (Transfer* transfer = downloader->find(download)) {
        transfer->ended = true;
        downloader->run(downloader->m_fetch.finished(transfer->id));
    }
}

}  // namespace plintor
