#pragma once

#include <string>
#include <string_view>

#include "core/browser/UrlLists.h"

namespace plintor {

// What happens to a navigation start, decided from plain values.
struct NavigationVerdict {
    bool allowed = false;
    bool cancel = false;
    bool showBlockedHint = false;   // only a blocked top-level navigation answers the visitor
    bool divertToDownload = false;  // an allowed document goes to the document handling
    std::string logText;            // "BeforeNavigate: <url> (True|False)"
};

// What may be taken from a navigation to the document handling.
struct DocumentDiversion {
    bool wordToConvert = false;  // an allowed Word document, converted to PDF
    // A PDF document the page itself would show: fetched like a download instead, so that the
    // document handling's limits of time and size apply to it. Top-level addresses on the
    // network only, and never one the document handling has handed back to be shown as it is.
    bool pdfToFetch = false;
};

// What an engine that does not say which frame a navigation is for tells of it.
struct NavigationFacts {
    enum class Kind { LinkClicked, FormSubmitted, BackForward, Reload, FormResubmitted, Other };
    Kind kind = Kind::Other;
    bool userGesture = false;
    bool redirect = false;
    bool startedByKiosk = false;    // the address the kiosk itself asked the page to open
    bool topLevelUnderway = false;  // a top-level navigation was let go and has not loaded yet
};

// Whether to take a navigation for the page's own (top level) rather than a frame's: what the
// kiosk opened, the visitor's clicks and submissions, history steps and reloads, and the
// redirects of a top-level navigation under way. A page's script that moves the page without
// a gesture counts as a frame's: it gets no hint, which a frame's navigation never shows.
bool isTopLevelNavigation(const NavigationFacts& facts);

NavigationVerdict judgeNavigation(const UrlLists& lists, std::string_view url, bool topLevel,
                                  DocumentDiversion diversion);

// The log lines of the other browser events.
std::string navigateCompleteLogText(std::string_view url);
std::string documentCompleteLogText(std::string_view url);
std::string newWindowLogText(std::string_view url);
std::string navigateErrorLogText(std::string_view url);
constexpr std::string_view NewProcessLogText = "NewProcess";

}  // namespace plintor
