#include "core/browser/NavigationPolicy.h"

#include "core/browser/UrlHelpers.h"
#include "core/documents/DocumentFiles.h"
#include "core/documents/DownloadRules.h"

namespace plintor {

namespace {

bool IsFetchedPdf(std::string_view url, bool topLevel) {
    return topLevel && ExtractURLFileExt(url) == FileNameExtension(TempPdfName) &&
           LocalDocumentPath(url).empty();
}

}  // namespace

TNavigationVerdict JudgeNavigation(const TUrlLists& lists, std::string_view url, bool topLevel,
                                   TDocumentDiversion diversion) {
    TNavigationVerdict verdict;
    verdict.Allowed = lists.IsURLAllowed(url);
    verdict.Cancel = !verdict.Allowed;
    verdict.LogText =
        "BeforeNavigate: " + std::string(url) + (verdict.Allowed ? " (True)" : " (False)");
    if (!verdict.Allowed) {
        verdict.ShowBlockedHint = topLevel;
    } else if ((diversion.WordToConvert && IsWordExtension(ExtractURLFileExt(url))) ||
               (diversion.PdfToFetch && IsFetchedPdf(url, topLevel))) {
        verdict.DivertToDownload = true;
        verdict.Cancel = true;
    }
    return verdict;
}

std::string NavigateCompleteLogText(std::string_view url) {
    return "NavigateComplete: " + std::string(url);
}

std::string DocumentCompleteLogText(std::string_view url) {
    return "DocumentComplete: " + std::string(url);
}

std::string NewWindowLogText(std::string_view url) {
    return "NewWindow: " + std::string(url);
}

std::string NavigateErrorLogText(std::string_view url) {
    return "NavigateError: " + std::string(url);
}

}  // namespace plintor
