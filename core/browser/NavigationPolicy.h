#pragma once

#include <string>
#include <string_view>

#include "core/browser/UrlLists.h"

namespace plintor {

// What happens to a navigation start, decided from plain values.
struct TNavigationVerdict {
    bool Allowed = false;
    bool Cancel = false;
    bool ShowBlockedHint = false;   // only a blocked top-level navigation answers the visitor
    bool DivertToDownload = false;  // an allowed document goes to the document handling
    std::string LogText;            // "BeforeNavigate: <url> (True|False)"
};

// What may be taken from a navigation to the document handling.
struct TDocumentDiversion {
    bool WordToConvert = false;  // an allowed Word document, converted to PDF
    // A PDF document the page itself would show: fetched like a download instead, so that the
    // document handling's limits of time and size apply to it. Top-level addresses on the
    // network only, and never one the document handling has handed back to be shown as it is.
    bool PdfToFetch = false;
};

TNavigationVerdict JudgeNavigation(const TUrlLists& lists, std::string_view url, bool topLevel,
                                   TDocumentDiversion diversion);

// The log lines of the other browser events.
std::string NavigateCompleteLogText(std::string_view url);
std::string DocumentCompleteLogText(std::string_view url);
std::string NewWindowLogText(std::string_view url);
std::string NavigateErrorLogText(std::string_view url);
constexpr std::string_view NewProcessLogText = "NewProcess";

}  // namespace plintor
