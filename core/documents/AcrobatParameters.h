#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plintor {

// A PDF address (its document part ends in ".pdf", any case; the query does not count) with
// the viewer's "toolbar" and "navpanes" items of its fragment set to 0 and appended when
// missing; any other address comes back trimmed and unchanged.
std::string addAcrobatParameters(std::string_view address);

// The address the browser opens instead of `incoming` (addAcrobatParameters of its file-URL
// form), with the two log lines to write when its first character changed (a local path
// that became a file address); without a PDF viewer nothing is translated.
struct UrlTranslation {
    std::string address;
    std::vector<std::string> logLines;
};
UrlTranslation translateUrl(std::string_view incoming, bool acrobatAvailable);

}  // namespace plintor
