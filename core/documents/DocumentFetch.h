#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/documents/FetchAction.h"

namespace plintor {

class DocumentFolder;
struct KioskSettings;
struct TempFiles;

// The server's answer to a download, as the engine reports it.
struct FetchResponse {
    std::string address;   // where the answer came from, after any redirect
    std::string fileName;  // the name the engine suggests; empty when it has none
    std::string mimeType;
    std::uint64_t announcedBytes = 0;  // 0 when the server announced no size
    // The lists allow `address`. A download the engine started by itself may have followed
    // redirects that nobody judged.
    bool allowed = true;
};

// Fetching documents a page offers, without the toolkit: the engine fetches with the visitor's
// session into the fixed temporary file; only PDF and Word documents that the configuration
// allows are kept, a Word document is converted to PDF when configured, and the result is
// shown in the same browser. Everything else is a blocked download. One download at a time,
// within a time and a size limit. Engine events come in, actions go out; the adapter runs the
// timer and the converter and reports back. The temporary files are handled here.
class DocumentFetch {
public:
    static constexpr long long TimeLimitMs = 60000;
    static constexpr std::uint64_t SizeLimitBytes = 200ULL * 1024 * 1024;

    enum class State {
        Idle,
        Requested,     // the engine has the download; the server has not answered yet
        Transferring,  // the answer was accepted into the temporary file
        Converting,    // the Word document is with the converter
    };
    using Actions = std::vector<FetchAction>;

    // Read at each event, never copied: the settings are reloaded and the engine's viewer is
    // chosen after the fetch is made (the kiosk's state, which outlives the fetch).
    DocumentFetch(const KioskSettings& settings, const DocumentFolder& folder,
                  const TempFiles& tempFiles, const bool& pdfViewer)
        : m_settings(settings), m_folder(folder), m_tempFiles(tempFiles), m_pdfViewer(pdfViewer) {}

    State state() const { return m_state; }

    // The visitor opened a document address: a Word document to convert, or a PDF document the
    // browser would show, which is shown whatever the PDF download switch says (and a page that
    // comes instead of it is shown as a page). The engine is to fetch it as download `id`.
    Actions opened(const std::string& source, DownloadId id);
    // A download the engine started by itself (a file a page offers, or one of the kiosk's own
    // documents that it cannot show).
    Actions engineStarted(DownloadId id, const std::string& address);
    Actions responded(DownloadId id, const FetchResponse& response);
    // `announcedBytes`: the size the server announced, which may become known only now.
    Actions received(DownloadId id, std::uint64_t receivedBytes, std::uint64_t announcedBytes);
    Actions finished(DownloadId id);
    Actions failed(DownloadId id);
    // The time limit that StartTimer asked for has passed.
    Actions timeUp();
    Actions converted(bool succeeded);

private:
    bool isCurrent(DownloadId id) const { return m_state != State::Idle && id == m_download; }
    bool isOwnDocument(const std::string& address) const;
    Actions refuse(const std::string& source) const;
    Actions start(const std::string& source, DownloadId id, bool openedPdf);
    Actions accept(const FetchResponse& response);
    Actions keep();
    Actions block();
    Actions show(const std::string& resultPath);
    void startTimer(Actions& actions);
    void stopTimer(Actions& actions);
    Actions finish(Actions actions);

    const KioskSettings& m_settings;
    const DocumentFolder& m_folder;
    const TempFiles& m_tempFiles;
    const bool& m_pdfViewer;  // the browser shows PDF documents itself
    State m_state = State::Idle;
    DownloadId m_download = 0;
    std::string m_source;
    std::string m_fileName;  // what the fetched file is called, which decides its kind
    std::vector<std::string> m_allowed;
    std::string m_document;    // the Word document with the converter
    bool m_openedPdf = false;  // the visitor opened a PDF address itself
    bool m_timing = false;     // the adapter's timer runs
};

}  // namespace plintor
