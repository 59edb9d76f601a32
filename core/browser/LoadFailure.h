#pragma once

#include <string>
#include <string_view>

namespace plintor {

// Why the top-level page could not be loaded, in the words the log and the operator use.
struct LoadFailure {
    enum class Kind { NameNotFound, Refused, TimedOut, Certificate, ServerError, Other };
    Kind kind = Kind::Other;
    int status = 0;  // the HTTP status of a server error

    bool operator==(const LoadFailure&) const = default;
};

// "refused", "server error 503", …
std::string loadFailureText(const LoadFailure& failure);

// The log lines of the kiosk's page for a page that cannot be loaded: each failure with its
// address and kind, the failures held back while they came too fast, and the recovery.
std::string loadErrorLogText(std::string_view url, const LoadFailure& failure, int retrySeconds);
std::string loadErrorsCountedLogText(int counted);
std::string loadRecoveredLogText(std::string_view url, int tries);

}  // namespace plintor
