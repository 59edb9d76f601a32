#include "core/documents/DownloadRules.h"

#include <algorithm>

#include "core/documents/DocumentFiles.h"
#include "core/support/FileHelpers.h"
#include "core/support/TextCase.h"

namespace plintor {

TTempFiles TempFilesIn(const std::string& tempFolder) {
    const std::string folder = WithTrailingDelimiter(tempFolder);
    return {folder + std::string(TempTmpName), folder + std::string(TempPdfName),
            folder + std::string(TempDocName), folder + std::string(TempDocxName)};
}

std::vector<std::string> ShownDocuments(const TTempFiles& files) {
    return {files.Pdf, files.Doc, files.Docx};
}

std::vector<std::string> AllowedExtensions(bool downloadPdf, bool downloadWord) {
    std::vector<std::string> allowed;
    if (downloadPdf) {
        allowed.push_back(FileNameExtension(TempPdfName));
    }
    if (downloadWord) {
        allowed.push_back(FileNameExtension(TempDocName));
        allowed.push_back(FileNameExtension(TempDocxName));
    }
    return allowed;
}

std::string FileNameExtension(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos ? std::string() : AsciiLower(fileName.substr(dot));
}

bool IsAcceptedDownload(std::string_view fileName, const std::vector<std::string>& allowed) {
    const std::string extension = FileNameExtension(Trim(fileName));
    return !extension.empty() &&
           std::find(allowed.begin(), allowed.end(), extension) != allowed.end();
}

bool IsPageType(std::string_view mimeType) {
    const std::string type = AsciiLower(Trim(mimeType.substr(0, mimeType.find(';'))));
    return type == "text/html" || type == "application/xhtml+xml";
}

std::string DownloadResultPath(const TTempFiles& files, std::string_view fileName) {
    return ChangeFileExt(files.Tmp, FileNameExtension(Trim(fileName)));
}

std::string DownloadFileLogText(std::string_view source) {
    return "Download file: " + std::string(source);
}

std::string DownloadedFileLogText(std::string_view path) {
    return "Downloaded file: " + std::string(path);
}

std::string ConvertedLogText(std::string_view pdfPath) {
    return "Converted to PDF: " + std::string(pdfPath);
}

std::string ConversionFailedLogText(std::string_view document) {
    return "Conversion to PDF failed: " + std::string(document);
}

std::string BlockedDownloadLogText(std::string_view source) {
    return "Blocked download: " + std::string(source);
}

}  // namespace plintor
