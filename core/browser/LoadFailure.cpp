#include "core/browser/LoadFailure.h"

#include "core/browser/UrlHelpers.h"

namespace plintor {

std::string loadFailureText(const LoadFailure& failure) {
    switch (failure.kind) {
        case LoadFailure::Kind::NameNotFound:
            return "name not found";
        case LoadFailure::Kind::Refused:
            return "refused";
        case LoadFailure::Kind::TimedOut:
            return "timed out";
        case LoadFailure::Kind::Certificate:
            return "certificate";
        case LoadFailure::Kind::ServerError:
            return "server error " + std::to_string(failure.status);
        case LoadFailure::Kind::Other:
            break;
    }
    return "failed";
}

std::string loadErrorLogText(std::string_view url, const LoadFailure& failure, int retrySeconds) {
    return "LoadError: " + addressForLog(url) + " (" + loadFailureText(failure) +
           "), next try in " + std::to_string(retrySeconds) + " s";
}

std::string loadErrorsCountedLogText(int counted) {
    return "LoadError: (" + std::to_string(counted) + " more failed load" +
           (counted == 1 ? ")" : "s)");
}

std::string loadRecoveredLogText(std::string_view url, int tries) {
    return "LoadRecovered: " + addressForLog(url) + " (after " + std::to_string(tries) + " tr" +
           (tries == 1 ? "y)" : "ies)");
}

}  // namespace plintor
