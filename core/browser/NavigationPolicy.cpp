#include "core/browser/NavigationPolicy.h"

#include "core/browser/DocumentFiles.h"
#include "core/browser/UrlHelpers.h"

namespace plintor {

namespace {

bool isFetchedPdf(std::string_view url, bool topLevel) {
    return topLevel && extractUrlFileExt(url) == fileNameExtension(TempPdfName) &&
           localDocumentPath(url).empty();
}

}  // namespace

bool isTopLevelNavigation(const NavigationFacts& facts) {
    using Kind = NavigationFacts::Kind;
    if (facts.startedByKiosk) {
        return true;
    }
    if (facts.redirect) {
        return facts.topLevelUnderway;
    }
    switch (facts.kind) {
        case Kind::BackForward:
        case Kind::Reload:
        case Kind::FormResubmitted:
            return true;
        case Kind::LinkClicked:
        case Kind::FormSubmitted:
            return facts.userGesture;
        case Kind::Other:
            return false;
    }
    return false;
}

NavigationVerdict judgeNavigation(const UrlLists& lists, std::string_view url, bool topLevel,
                                  DocumentDiversion diversion) {
    NavigationVerdict verdict;
    verdict.allowed = lists.isUrlAllowed(url);
    verdict.cancel = !verdict.allowed;
    verdict.logText =
        "BeforeNavigate: " + addressForLog(url) + (verdict.allowed ? " (True)" : " (False)");
    if (!verdict.allowed) {
        verdict.showBlockedHint = topLevel;
    } else if ((diversion.wordToConvert && isWordExtension(extractUrlFileExt(url))) ||
               (diversion.pdfToFetch && isFetchedPdf(url, topLevel))) {
        verdict.divertToDownload = true;
        verdict.cancel = true;
    }
    return verdict;
}

std::string navigateCompleteLogText(std::string_view url) {
    return "NavigateComplete: " + addressForLog(url);
}

std::string documentCompleteLogText(std::string_view url) {
    return "DocumentComplete: " + addressForLog(url);
}

std::string newWindowLogText(std::string_view url) {
    return "NewWindow: " + addressForLog(url);
}

std::string navigateErrorLogText(std::string_view url) {
    return "NavigateError: " + addressForLog(url);
}

}  // namespace plintor
