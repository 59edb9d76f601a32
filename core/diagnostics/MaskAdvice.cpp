#include "core/diagnostics/MaskAdvice.h"

#include <cctype>

namespace plintor {
namespace {

void adviseOnDenyMask(const std::string& mask, const UrlLists& lists,
                      std::vector<std::string>& advice) {
    if (!mask.ends_with("/*") || mask.size() < 3) {
        return;
    }
    const std::string folder = mask.substr(0, mask.size() - 2);
    if (!lists.isUrlDenied(folder)) {
        advice.push_back(
            "deny mask \"" + mask + "\" leaves \"" + folder +
            "\" itself open (an address's trailing \"/\" is dropped before matching); add \"" +
            folder + "\" as a deny mask too");
    }
}

// "HTTP://LIBRARY.EXAMPLE*": a host name that runs straight into the final "*", with no "/" after
// it.
void adviseOnAllowMask(const std::string& mask, std::vector<std::string>& advice) {
    const std::size_t schemeEnd = mask.find("://");
    if (schemeEnd == std::string::npos || !mask.ends_with('*') || mask.size() < schemeEnd + 5) {
        return;
    }
    const std::string site = mask.substr(0, mask.size() - 1);
    const std::string host = site.substr(schemeEnd + 3);
    if (host.find('/') == std::string::npos &&
        std::isalnum(static_cast<unsigned char>(host.back()))) {
        advice.push_back("allow mask \"" + mask +
                         "\" also allows other hosts that begin with the same name, such as \"" +
                         site + ".EVIL.EXAMPLE\"; write \"" + site + "/*\" to allow that one site");
    }
}

}  // namespace

std::vector<std::string> maskAdvice(const UrlLists& lists) {
    std::vector<std::string> advice;
    for (const std::string& mask : lists.blacklist()) {
        adviseOnDenyMask(mask, lists, advice);
    }
    for (const std::string& mask : lists.whitelist()) {
        adviseOnAllowMask(mask, advice);
    }
    return advice;
}

}  // namespace plintor
