#include "core/browser/CanonicalAddress.h"

#include <algorithm>
#include <optional>

#include "core/browser/AsciiHost.h"
#include "core/browser/IpAddress.h"
#include "core/browser/UrlHelpers.h"
#include "core/support/TextCase.h"

namespace plintor {
namespace {

// Tabs and line breaks inside an address are dropped by browsers, as are blanks around it.
std::string withoutTabsAndLineBreaks(std::string_view text) {
    std::string kept(trim(text));
    std::erase_if(kept, [](char c) { return c == '\t' || c == '\n' || c == '\r'; });
    return kept;
}

// `scheme` is in lower case here and below.
std::string_view defaultPort(std::string_view scheme) {
    if (scheme == "http" || scheme == "ws") {
        return "80";
    }
    if (scheme == "https" || scheme == "wss") {
        return "443";
    }
    return scheme == "ftp" ? "21" : "";
}

std::string canonicalHost(std::string_view host, std::string_view scheme) {
    if (host.starts_with('[') && host.ends_with(']')) {
        return canonicalIpv6(host.substr(1, host.size() - 2)).value_or(asciiLower(host));
    }
    std::string name = asciiHostName(decodePercentEscapes(host, [](char) { return true; }));
    if (std::optional<std::string> number = canonicalIpv4(name)) {
        return *number;
    }
    while (name.ends_with('.')) {
        name.pop_back();
    }
    if (name == "localhost" && scheme == "file") {
        name.clear();  // file://localhost/x is file:///x
    }
    return name;
}

// Splits "host:port" at the port's colon (after any bracketed IPv6 address).
std::pair<std::string_view, std::string_view> splitPort(std::string_view hostPort) {
    const std::size_t bracket = hostPort.starts_with('[') ? hostPort.find(']') : 0;
    const std::size_t colon = hostPort.find(':', bracket == std::string_view::npos ? 0 : bracket);
    if (colon == std::string_view::npos) {
        return {hostPort, {}};
    }
    return {hostPort.substr(0, colon), hostPort.substr(colon + 1)};
}

// Browsers read "\" as "/" in the path of the web's own schemes.
std::string pathWithForwardSlashes(std::string_view rest, std::string_view scheme) {
    std::string path(rest);
    if (!defaultPort(scheme).empty() || scheme == "file") {
        std::replace(
            path.begin(),
            std::find_if(path.begin(), path.end(), [](char c) { return c == '?' || c == '#'; }),
            '\\', '/');
    }
    return path;
}

// Where the host starts after the scheme's ":" at `colon`, or npos when the address has none.
// The web's own schemes take any run of "/" and "\" there, none included, as the engine does:
// "http:127.0.0.2/", "http:\\127.0.0.2/" and "http:///127.0.0.2/" all reach 127.0.0.2. Other
// schemes have a host only after "//".
std::size_t authorityStartOf(std::string_view text, std::size_t colon, std::string_view scheme) {
    if (!defaultPort(scheme).empty()) {
        return std::min(text.find_first_not_of("/\\", colon + 1), text.size());
    }
    return text.substr(colon + 1).starts_with("//") ? colon + 3 : std::string_view::npos;
}

}  // namespace

std::string canonicalAddress(std::string_view url) {
    const std::string text = withoutTabsAndLineBreaks(url);
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || !isUrlScheme(std::string_view(text).substr(0, colon))) {
        return text;
    }
    const std::string scheme = asciiLower(std::string_view(text).substr(0, colon));
    const std::size_t authorityStart = authorityStartOf(text, colon, scheme);
    if (authorityStart == std::string::npos) {
        return text;
    }
    // "\" ends the host as "/" does: browsers read http://a\b as http://a/b.
    const std::size_t authorityEnd =
        std::min(text.find_first_of("/?#\\", authorityStart), text.size());
    std::string_view authority =
        std::string_view(text).substr(authorityStart, authorityEnd - authorityStart);
    // "http://allowed.example@evil.example/" is evil.example: a mask ending in "*" must not let
    // any host through behind an allowed name.
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
        authority.remove_prefix(at + 1);
    }
    const auto [host, port] = splitPort(authority);
    std::string canonical = scheme + "://" + canonicalHost(host, scheme);
    if (!port.empty() && port != defaultPort(scheme)) {
        canonical += ':';
        canonical += port;
    }
    return canonical + pathWithForwardSlashes(std::string_view(text).substr(authorityEnd), scheme);
}

}  // namespace plintor
