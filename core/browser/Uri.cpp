#include "core/browser/Uri.h"

#include <algorithm>

#include "core/browser/UrlHelpers.h"

namespace plintor {
namespace {

std::string_view CutAfter(std::string_view& text, char separator) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos) {
        return {};
    }
    const std::string_view tail = text.substr(at + 1);
    text = text.substr(0, at);
    return tail;
}

bool SplitHostPort(std::string_view hostPort, TURI& uri) {
    std::size_t portColon = std::string_view::npos;
    if (hostPort.starts_with('[')) {
        const std::size_t close = hostPort.find(']');
        if (close == std::string_view::npos) {
            return false;
        }
        if (close + 1 < hostPort.size()) {
            if (hostPort[close + 1] != ':') {
                return false;
            }
            portColon = close + 1;
        }
    } else {
        portColon = hostPort.rfind(':');
    }
    if (portColon == std::string_view::npos) {
        uri.Host = hostPort;
        return true;
    }
    uri.Host = hostPort.substr(0, portColon);
    uri.Port = hostPort.substr(portColon + 1);
    return std::all_of(uri.Port.begin(), uri.Port.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

void SplitAuthority(std::string_view authority, TURI& uri, bool& valid) {
    const std::size_t at = authority.rfind('@');
    if (at != std::string_view::npos) {
        std::string_view userInfo = authority.substr(0, at);
        uri.Password = CutAfter(userInfo, ':');
        uri.Username = userInfo;
        authority = authority.substr(at + 1);
    }
    valid = SplitHostPort(authority, uri);
}

}  // namespace

std::optional<TURI> ParseURI(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    TURI uri;
    uri.Bookmark = CutAfter(text, '#');
    uri.Params = CutAfter(text, '?');
    const std::size_t schemeEnd = text.find("://");
    if (schemeEnd != std::string_view::npos && IsUrlScheme(text.substr(0, schemeEnd))) {
        uri.Protocol = text.substr(0, schemeEnd);
        text.remove_prefix(schemeEnd + 3);
        const std::size_t pathStart = std::min(text.find('/'), text.size());
        bool valid = true;
        SplitAuthority(text.substr(0, pathStart), uri, valid);
        if (!valid) {
            return std::nullopt;
        }
        text.remove_prefix(pathStart);
    }
    const std::size_t lastSlash = text.rfind('/');
    const std::size_t documentStart = lastSlash == std::string_view::npos ? 0 : lastSlash + 1;
    uri.Path = text.substr(0, documentStart);
    uri.Document = text.substr(documentStart);
    return uri;
}

std::string ComposeURI(const TURI& uri) {
    std::string text;
    if (!uri.Protocol.empty()) {
        text = uri.Protocol + "://";
    }
    if (!uri.Username.empty()) {
        text += uri.Username;
        if (!uri.Password.empty()) {
            text += ":" + uri.Password;
        }
        text += "@";
    }
    text += uri.Host;
    if (!uri.Port.empty()) {
        text += ":" + uri.Port;
    }
    text += uri.Path + uri.Document;
    if (!uri.Params.empty()) {
        text += "?" + uri.Params;
    }
    if (!uri.Bookmark.empty()) {
        text += "#" + uri.Bookmark;
    }
    return text;
}

}  // namespace plintor
