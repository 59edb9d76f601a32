#include "core/diagnostics/MaskAdvice.h"

#include <cctype>

#include "core/browser/MaskHost.h"
#include "core/browser/MaskIpv6.h"

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

void adviseOnHostLabels(const std::string& mask, const char* listName,
                        std::vector<std::string>& advice) {
    for (const std::string& label : unconvertibleHostLabels(mask)) {
        advice.push_back(std::string(listName) + " mask \"" + mask + "\" has the host label \"" +
                         label +
                         "\" with a wildcard, which cannot be put in the ASCII (xn--) form that "
                         "addresses carry; it matches no such host, so write the label in its "
                         "xn-- form");
    }
}

void noteIpv6Hosts(const std::vector<std::string>& masks, const char* listName,
                   std::vector<std::string>& readings) {
    for (const std::string& mask : masks) {
        const std::size_t hostStart = mask.find("://");
        if (hostStart != std::string::npos &&
            opensIpv6Address(std::string_view(mask), hostStart + 3)) {
            const std::size_t close = mask.find(']', hostStart);
            readings.push_back(
                std::string(listName) + " mask \"" + mask + "\" names the IPv6 host " +
                mask.substr(hostStart + 3, close - hostStart - 2) + ", not a set of characters");
        }
    }
}

}  // namespace

std::vector<std::string> maskAdvice(const UrlLists& lists) {
    std::vector<std::string> advice;
    for (const std::string& mask : lists.blacklist()) {
        adviseOnDenyMask(mask, lists, advice);
        adviseOnHostLabels(mask, "deny", advice);
    }
    for (const std::string& mask : lists.whitelist()) {
        adviseOnAllowMask(mask, advice);
        adviseOnHostLabels(mask, "allow", advice);
    }
    return advice;
}

std::vector<std::string> maskReadings(const UrlLists& lists) {
    std::vector<std::string> readings;
    noteIpv6Hosts(lists.blacklist(), "deny", readings);
    noteIpv6Hosts(lists.whitelist(), "allow", readings);
    return readings;
}

}  // namespace plintor
