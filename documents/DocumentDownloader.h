#pragma once

#include <webkit/webkit.h>

#include <memory>
#include <string>
#include <vector>

#include "core/documents/DocumentFetch.h"
#include "documents/BackgroundConversion.h"
#include "documents/DownloadHost.h"
#include "glib/GObjectRef.h"
#include "glib/ScopedSignal.h"
#include "glib/Timeout.h"

namespace plintor {

struct KioskState;
class OfficeConverter;

// Documents a page offers, fetched by the engine itself with the visitor's session (cookies)
// and the kiosk's certificate rules into the fixed temporary file, under the rules of
// DocumentFetch; this class only carries the engine's download events there and its actions
// back. Downloads still running when it goes are cancelled.
class DocumentDownloader {
public:
    DocumentDownloader(DownloadHost& host, const KioskState& state,
                       const OfficeConverter& converter);
    DocumentDownloader(const DocumentDownloader&) = delete;
    DocumentDownloader& operator=(const DocumentDownloader&) = delete;
    ~DocumentDownloader();

    // Every download the view's network session starts (connected by the browser to
    // WebKitNetworkSession::download-started, for downloads whose web view is ours).
    void engineDownloadStarted(WebKitDownload* download);
    // A document the visitor opened (a Word document to convert, or a PDF to show).
    void download(const std::string& source);
    // The host's fetch through the page ended without a download.
    void pageFetchFailed();

private:
    // One engine download, followed until the engine is done with it.
    struct Transfer {
        DownloadId id;
        GObjectRef<WebKitDownload> download;
        std::vector<ScopedSignal> signals;
        bool cancelled = false;
        bool ended = false;  // the engine said its last word on it
    };

    void follow(DownloadId id, GObjectRef<WebKitDownload> download);
    Transfer* find(WebKitDownload* download);
    Transfer* find(DownloadId id);
    void run(const DocumentFetch::Actions& actions);
    void run(const FetchAction& action);
    static void cancel(Transfer& transfer);

    static gboolean decideDestination(WebKitDownload* download, gchar* suggestedName,
                                      gpointer self);
    static void receivedData(WebKitDownload* download, guint64 length, gpointer self);
    static void failed(WebKitDownload* download, GError* error, gpointer self);
    static void finished(WebKitDownload* download, gpointer self);

    DownloadHost& m_host;
    DocumentFetch m_fetch;
    BackgroundConversion m_conversion;
    Timeout m_timeLimit;
    std::vector<std::unique_ptr<Transfer>> m_transfers;
    DownloadId m_lastId = 0;
    DownloadId m_pageFetch = 0;  // the download the host's fetch through the page will be
};

}  // namespace plintor
