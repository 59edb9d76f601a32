#include "core/documents/DocumentFetch.h"

#include <algorithm>
#include <filesystem>

#include "core/browser/DocumentFiles.h"
#include "core/browser/Uri.h"
#include "core/browser/UrlHelpers.h"
#include "core/config/KioskSettings.h"
#include "core/documents/AcrobatParameters.h"
#include "core/documents/DocumentFolder.h"
#include "core/documents/DownloadRules.h"
#include "core/documents/WordContainer.h"
#include "core/support/FileHelpers.h"
#include "core/support/TextCase.h"

namespace plintor {
namespace {

using Actions = DocumentFetch::Actions;

// The local path a file address names, without its query and fragment; empty for any other
// address or a file address on another host.
std::string localPathOf(std::string_view address) {
    address = trim(address);
    if (!isFileUrl(address)) {
        return {};
    }
    std::string_view path = address.substr(std::string_view("file:").size());
    if (path.starts_with("//")) {
        path.remove_prefix(2);
        const std::size_t slash = std::min(path.find('/'), path.size());
        const std::string_view host = path.substr(0, slash);
        if (!host.empty() && !equalsNoCase(host, "localhost")) {
            return {};
        }
        path.remove_prefix(slash);
    }
    path = path.substr(0, path.find_first_of("?#"));
    return decodePercentEscapes(path, [](char) { return true; });
}

std::string folderWithoutDelimiter(const std::string& file) {
    return std::filesystem::path(file).parent_path().string();
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

void append(Actions& actions, Actions more) {
    std::move(more.begin(), more.end(), std::back_inserter(actions));
}

}  // namespace

Actions DocumentFetch::opened(const std::string& source, DownloadId id) {
    const bool pdf = extractUrlFileExt(source) == fileNameExtension(TempPdfName);
    Actions actions = start(source, id, pdf);
    if (isCurrent(id)) {
        actions.push_back(FetchAction::fetch(id, source));
    }
    return actions;
}

// A document is fetched once per visitor action: the engine handing one of the kiosk's own
// documents back (a file it cannot show) must not start another fetch of it.
Actions DocumentFetch::engineStarted(DownloadId id, const std::string& address) {
    if (isOwnDocument(address)) {
        Actions actions{FetchAction::cancel(id)};
        append(actions, refuse(address));
        return actions;
    }
    Actions actions = start(address, id, false);
    if (!isCurrent(id)) {
        actions.insert(actions.begin(), FetchAction::cancel(id));
    }
    return actions;
}

// A fetch given up on never comes back: a late answer to it is cancelled without a word.
Actions DocumentFetch::responded(DownloadId id, const FetchResponse& response) {
    if (!isCurrent(id) || m_state != State::Requested) {
        return {FetchAction::cancel(id)};
    }
    const std::string suggested(trim(response.fileName));
    const std::optional<Uri> uri = suggested.empty() ? parseUri(m_source) : std::nullopt;
    m_fileName = uri ? std::string(trim(uri->document)) : suggested;
    if (m_openedPdf && response.allowed && isPageType(response.mimeType)) {
        const std::string page = response.address.empty() ? m_source : response.address;
        Actions actions = finish({FetchAction::cancel(id)});
        actions.push_back(FetchAction::showAsPage(page));
        return actions;
    }
    if (!response.allowed || response.announcedBytes > SizeLimitBytes ||
        !isAcceptedDownload(m_fileName, m_allowed)) {
        Actions actions{FetchAction::cancel(id)};
        append(actions, block());
        return actions;
    }
    deleteFileForced(m_tempFiles.tmp);
    m_state = State::Transferring;
    Actions actions{FetchAction::accept(id, m_tempFiles.tmp)};
    startTimer(actions);  // the transfer has the whole time limit of its own
    return actions;
}

Actions DocumentFetch::received(DownloadId id, std::uint64_t receivedBytes,
                                std::uint64_t announcedBytes) {
    if (!isCurrent(id)) {
        return {FetchAction::cancel(id)};
    }
    if (std::max(receivedBytes, announcedBytes) <= SizeLimitBytes) {
        return {};
    }
    Actions actions{FetchAction::cancel(id)};
    append(actions, block());
    return actions;
}

Actions DocumentFetch::finished(DownloadId id) {
    if (!isCurrent(id)) {
        return {};
    }
    if (m_state != State::Transferring) {
        return block();  // ended before the server answered
    }
    return keep();
}

Actions DocumentFetch::failed(DownloadId id) {
    return isCurrent(id) ? block() : Actions{};
}

// The engine is not waited for once the time is up: its download is cancelled, and whatever it
// reports of it later is no longer current.
Actions DocumentFetch::timeUp() {
    if (m_state != State::Requested && m_state != State::Transferring) {
        return {};
    }
    m_timing = false;
    Actions actions{FetchAction::cancel(m_download)};
    append(actions, block());
    return actions;
}

Actions DocumentFetch::converted(bool succeeded) {
    if (m_state != State::Converting) {
        return {};
    }
    if (succeeded) {
        Actions actions{FetchAction::log(convertedLogText(m_tempFiles.pdf))};
        append(actions, show(m_tempFiles.pdf));
        return actions;
    }
    // The visitor asked for something that will not come.
    return finish(
        {FetchAction::log(conversionFailedLogText(m_document)), FetchAction::blockedHint()});
}

bool DocumentFetch::isOwnDocument(const std::string& address) const {
    const std::string path = localPathOf(address);
    const std::vector<std::string> own = shownDocuments(m_tempFiles);
    return !path.empty() && std::find(own.begin(), own.end(), path) != own.end();
}

Actions DocumentFetch::refuse(const std::string& source) const {
    return {FetchAction::refused(source), FetchAction::blockedHint()};
}

// Nothing is fetched when another download runs, none is allowed, or the documents folder
// cannot take the file (which the log says).
Actions DocumentFetch::start(const std::string& source, DownloadId id, bool openedPdf) {
    if (m_state != State::Idle) {
        return refuse(source);
    }
    const KioskSettings& settings = m_settings;
    // The engine shows PDF only: a Word document is kept only when it is converted.
    std::vector<std::string> allowed = allowedExtensions(
        settings.downloadPdf || openedPdf, settings.downloadWord && settings.convertWordToPdf);
    if (allowed.empty()) {
        return refuse(source);
    }
    if (const std::string why = m_folder.whyNotReady(); !why.empty()) {
        Actions actions{FetchAction::log(why)};
        append(actions, refuse(source));
        return actions;
    }
    m_state = State::Requested;
    m_download = id;
    m_source = source;
    m_fileName.clear();
    m_allowed = std::move(allowed);
    m_openedPdf = openedPdf;
    Actions actions{FetchAction::progress(true)};
    startTimer(actions);
    return actions;
}

Actions DocumentFetch::keep() {
    const std::string extension = fileNameExtension(m_fileName);
    if (isWordExtension(extension) && !isWordContainer(m_tempFiles.tmp, extension)) {
        return block();
    }
    const std::string result = keepFetchedFile(m_tempFiles, m_fileName);
    if (result.empty()) {
        return block();
    }
    Actions actions;
    stopTimer(actions);  // the converter keeps a time limit of its own
    actions.push_back(FetchAction::log(downloadFileLogText(m_source)));
    actions.push_back(FetchAction::log(downloadedFileLogText(result)));
    const TempFiles& files = m_tempFiles;
    if (m_settings.convertWordToPdf && (result == files.doc || result == files.docx)) {
        deleteFileForced(files.pdf);
        m_state = State::Converting;
        m_document = result;
        actions.push_back(FetchAction::convert(result, folderWithoutDelimiter(files.pdf)));
        return actions;
    }
    append(actions, show(result));
    return actions;
}

Actions DocumentFetch::block() {
    std::error_code ignored;
    std::filesystem::remove(m_tempFiles.tmp, ignored);
    return finish(refuse(m_source));
}

Actions DocumentFetch::show(const std::string& resultPath) {
    std::string address = resultPath;
    if (m_pdfViewer && fileNameExtension(resultPath) == fileNameExtension(TempPdfName)) {
        address = addAcrobatParameters(toFileUrl(resultPath));
    }
    return finish({FetchAction::navigate(address)});
}

void DocumentFetch::startTimer(Actions& actions) {
    actions.push_back(FetchAction::startTimer());
    m_timing = true;
}

void DocumentFetch::stopTimer(Actions& actions) {
    if (m_timing) {
        actions.push_back(FetchAction::stopTimer());
        m_timing = false;
    }
}

Actions DocumentFetch::finish(Actions actions) {
    stopTimer(actions);
    actions.push_back(FetchAction::progress(false));
    m_state = State::Idle;
    m_openedPdf = false;
    return actions;
}

}  // namespace plintor
