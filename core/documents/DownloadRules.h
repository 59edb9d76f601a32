#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plintor {

// The fixed files a fetched document is written to, in the user's temporary folder.
struct TTempFiles {
    std::string Tmp;
    std::string Pdf;
    std::string Doc;
    std::string Docx;
};
TTempFiles TempFilesIn(const std::string& tempFolder);

// The documents the program shows from its temporary files.
std::vector<std::string> ShownDocuments(const TTempFiles& files);

// The extensions that may be downloaded: ".pdf" with PDF downloads on, ".doc" and ".docx"
// with Word downloads on; none means every download is blocked.
std::vector<std::string> AllowedExtensions(bool downloadPdf, bool downloadWord);

// The lower-case extension of a file name with its dot; empty when there is none.
std::string FileNameExtension(std::string_view fileName);

// A fetched file is kept only when its extension is exactly one of the allowed ones (".do"
// is no Word document).
bool IsAcceptedDownload(std::string_view fileName, const std::vector<std::string>& allowed);

// A response of this media type is a page to show, not a document to keep (a login page that
// an address of a document led to).
bool IsPageType(std::string_view mimeType);

// The temporary file a fetched file of this name ends in: temp.tmp with its extension.
std::string DownloadResultPath(const TTempFiles& files, std::string_view fileName);

// The log lines of a download, by their fixed prefixes.
std::string DownloadFileLogText(std::string_view source);        // "Download file: "
std::string DownloadedFileLogText(std::string_view path);        // "Downloaded file: "
std::string ConvertedLogText(std::string_view pdfPath);          // "Converted to PDF: "
std::string ConversionFailedLogText(std::string_view document);  // "Conversion to PDF failed: "
std::string BlockedDownloadLogText(std::string_view source);     // "Blocked download: "

}  // namespace plintor
