#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plintor {

// The fixed files a fetched document is written to, in the documents folder (DocumentFolder).
struct TempFiles {
    std::string tmp;
    std::string pdf;
    std::string doc;
    std::string docx;
};
TempFiles tempFilesIn(const std::string& folder);

// The documents the program shows from its temporary files.
std::vector<std::string> shownDocuments(const TempFiles& files);

// The extensions that may be downloaded: ".pdf" with PDF downloads on, ".doc" and ".docx"
// with Word downloads on; none means every download is blocked.
std::vector<std::string> allowedExtensions(bool downloadPdf, bool downloadWord);

// A fetched file is kept only when its extension is exactly one of the allowed ones (".do"
// is no Word document).
bool isAcceptedDownload(std::string_view fileName, const std::vector<std::string>& allowed);

// A response of this media type is a page to show, not a document to keep (a login page that
// an address of a document led to).
bool isPageType(std::string_view mimeType);

// The temporary file a fetched file of this name ends in: temp.tmp with its extension.
std::string downloadResultPath(const TempFiles& files, std::string_view fileName);

// The log lines of a download, by their fixed prefixes.
std::string downloadFileLogText(std::string_view source);        // "Download file: "
std::string downloadedFileLogText(std::string_view path);        // "Downloaded file: "
std::string convertedLogText(std::string_view pdfPath);          // "Converted to PDF: "
std::string conversionFailedLogText(std::string_view document);  // "Conversion to PDF failed: "
std::string blockedDownloadLogText(std::string_view source);     // "Blocked download: "

}  // namespace plintor
