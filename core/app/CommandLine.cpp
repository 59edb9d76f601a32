#include "core/app/CommandLine.h"

#include "core/support/TextCase.h"

namespace plintor {
namespace {

bool isSwitch(const std::string& parameter) {
    return !parameter.empty() && (parameter[0] == '-' || parameter[0] == '/');
}

}  // namespace

int countPlainParams(const Arguments& arguments) {
    int count = 0;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        count += isSwitch(arguments[i]) ? 0 : 1;
    }
    return count;
}

std::string plainParam(const Arguments& arguments, int n) {
    if (n == 0) {
        return arguments.empty() ? std::string() : arguments[0];
    }
    int seen = 0;
    for (std::size_t i = 1; n > 0 && i < arguments.size(); ++i) {
        if (!isSwitch(arguments[i]) && ++seen == n) {
            return arguments[i];
        }
    }
    return {};
}

bool hasSafeWebBrowserSwitch(const Arguments& arguments) {
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (isSwitch(arguments[i]) &&
            equalsNoCase(std::string_view(arguments[i]).substr(1), "SAFEWEBBROWSER")) {
            return true;
        }
    }
    return false;
}

bool isSafeWebBrowserMode(const Arguments& arguments) {
    return hasSafeWebBrowserSwitch(arguments) && countPlainParams(arguments) > 0;
}

}  // namespace plintor
