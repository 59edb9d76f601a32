#include "core/documents/DownloadRules.h"

#include <algorithm>

#include "core/browser/DocumentFiles.h"
#include "core/browser/UrlHelpers.h"
#include "core/support/FileHelpers.h"
#include "core/support/TextCase.h"

namespace plintor {

TempFiles tempFilesIn(const std::string& folder) {
    const std::string inFolder = withTrailingDelimiter(folder);
    return {inFolder + std::string(TempTmpName), inFolder + std::string(TempPdfName),
            inFolder + std::string(TempDocName), inFolder + std::string(TempDocxName)};
}

std::vector<std::string> shownDocuments(const TempFiles& files) {
    return {files.pdf, files.doc, files.docx};
}

std::vector<std::string> allowedExtensions(bool downloadPdf, bool downloadWord) {
    std::vector<std::string> allowed;
    if (downloadPdf) {
        allowed.push_back(fileNameExtension(TempPdfName));
    }
    if (downloadWord) {
        allowed.push_back(fileNameExtension(TempDocName));
        allowed.push_back(fileNameExtension(TempDocxName));
    }
    return allowed;
}

bool isAcceptedDownload(std::string_view fileName, const std::vector<std::string>& allowed) {
    const std::string extension = fileNameExtension(trim(fileName));
    return !extension.empty() &&
           std::find(allowed.begin(), allowed.end(), extension) != allowed.end();
}

bool isPageType(std::string_view mimeType) {
    const std::string type = asciiLower(trim(mimeType.substr(0, mimeType.find(';'))));
    return type == "text/html" || type == "application/xhtml+xml";
}

std::string downloadResultPath(const TempFiles& files, std::string_view fileName) {
    return changeFileExt(files.tmp, fileNameExtension(trim(fileName)));
}

std::string downloadFileLogText(std::string_view source) {
    return "Download file: " + std::string(source);
}

std::string downloadedFileLogText(std::string_view path) {
    return "Downloaded file: " + std::string(path);
}

std::string convertedLogText(std::string_view pdfPath) {
    return "Converted to PDF: " + std::string(pdfPath);
}

std::string conversionFailedLogText(std::string_view document) {
    return "Conversion to PDF failed: " + std::string(document);
}

std::string blockedDownloadLogText(std::string_view source) {
    return "Blocked download: " + addressForLog(source);
}

}  // namespace plintor
