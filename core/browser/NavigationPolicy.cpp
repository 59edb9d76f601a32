#include "NavigationPolicy.h"

#include "UrlHelpers.h"
#include "documents/DocumentFiles.h"

namespace plintor {

TNavigationVerdict JudgeNavigation(const TUrlLists& lists, std::string_view url, bool topLevel,
                                   bool convertWordToPdf) {
    TNavigationVerdict verdict;
    verdict.Allowed = lists.IsURLAllowed(url);
    verdict.Cancel = !verdict.Allowed;
    verdict.LogText = "BeforeNavigate: " + std::string(url) + (verdict.Allowed ? " (True)" : " (False)");
    if (!verdict.Allowed) {
        verdict.ShowBlockedHint = topLevel;
    } else if (convertWordToPdf && IsWordExtension(ExtractURLFileExt(url))) {
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
