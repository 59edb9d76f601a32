#include "core/app/CommandLine.h"

#include "core/support/TextCase.h"

namespace plintor {
namespace {

bool IsSwitch(const std::string& parameter) {
    return !parameter.empty() && (parameter[0] == '-' || parameter[0] == '/');
}

}  // namespace

int CountPlainParams(const TArguments& arguments) {
    int count = 0;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        count += IsSwitch(arguments[i]) ? 0 : 1;
    }
    return count;
}

std::string PlainParam(const TArguments& arguments, int n) {
    if (n == 0) {
        return arguments.empty() ? std::string() : arguments[0];
    }
    int seen = 0;
    for (std::size_t i = 1; n > 0 && i < arguments.size(); ++i) {
        if (!IsSwitch(arguments[i]) && ++seen == n) {
            return arguments[i];
        }
    }
    return {};
}

bool HasSafeWebBrowserSwitch(const TArguments& arguments) {
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (IsSwitch(arguments[i]) &&
            EqualsNoCase(std::string_view(arguments[i]).substr(1), "SAFEWEBBROWSER")) {
            return true;
        }
    }
    return false;
}

bool IsSafeWebBrowserMode(const TArguments& arguments) {
    return HasSafeWebBrowserSwitch(arguments) && CountPlainParams(arguments) > 0;
}

}  // namespace plintor
