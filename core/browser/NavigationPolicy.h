#pragma once

#include <string>
#include <string_view>

#include "UrlLists.h"

namespace plintor {

// What happens to a navigation start, decided from plain values.
struct TNavigationVerdict {
    bool Allowed = false;
    bool Cancel = false;
    bool ShowBlockedHint = false;   // only a blocked top-level navigation answers the visitor
    bool DivertToDownload = false;  // an allowed Word document goes to the document handling
    std::string LogText;            // "BeforeNavigate: <url> (True|False)"
};

TNavigationVerdict JudgeNavigation(const TUrlLists& lists, std::string_view url, bool topLevel,
                                   bool convertWordToPdf);

// The log lines of the other browser events.
std::string NavigateCompleteLogText(std::string_view url);
std::string DocumentCompleteLogText(std::string_view url);
std::string NewWindowLogText(std::string_view url);
std::string NavigateErrorLogText(std::string_view url);
constexpr std::string_view NewProcessLogText = "NewProcess";

}  // namespace plintor
