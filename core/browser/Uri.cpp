#include "core/browser/Uri.h"

#include <algorithm>

#include "core/browser/UrlHelpers.h"

namespace plintor {
namespace {

std::string_view cutAfter(std::string_view& text, char separator) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos) {
        return {};
    }
    const std::string_view tail = text.substr(at + 1);
    text = text.substr(0, at);
    return tail;
}

bool splitHostPort(std::string_view hostPort, Uri& uri) {
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
        uri.host = hostPort;
        return true;
    }
    uri.host = hostPort.substr(0, portColon);
    uri.port = hostPort.substr(portColon + 1);
    return std::all_of(uri.port.begin(), uri.port.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

void splitAuthority(std::string_view authority, Uri& uri, bool& valid) {
    const std::size_t at = authority.rfind('@');
    if (at != std::string_view::npos) {
        std::string_view userInfo = authority.substr(0, at);
        uri.password = cutAfter(userInfo, ':');
        uri.username = userInfo;
        authority = authority.substr(at + 1);
    }
    valid = splitHostPort(authority, uri);
}

}  // namespace

std::optional<Uri> parseUri(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    Uri uri;
    uri.bookmark = cutAfter(text, '#');
    uri.params = cutAfter(text, '?');
    const std::size_t schemeEnd = text.find("://");
    if (schemeEnd != std::string_view::npos && isUrlScheme(text.substr(0, schemeEnd))) {
        uri.protocol = text.substr(0, schemeEnd);
        text.remove_prefix(schemeEnd + 3);
        const std::size_t pathStart = std::min(text.find('/'), text.size());
        bool valid = true;
        splitAuthority(text.substr(0, pathStart), uri, valid);
        if (!valid) {
            return std::nullopt;
        }
        text.remove_prefix(pathStart);
    }
    const std::size_t lastSlash = text.rfind('/');
    const std::size_t documentStart = lastSlash == std::string_view::npos ? 0 : lastSlash + 1;
    uri.path = text.substr(0, documentStart);
    uri.document = text.substr(documentStart);
    return uri;
}

std::string composeUri(const Uri& uri) {
    std::string text;
    if (!uri.protocol.empty()) {
        text = uri.protocol + "://";
    }
    if (!uri.username.empty()) {
        text += uri.username;
        if (!uri.password.empty()) {
            text += ":" + uri.password;
        }
        text += "@";
    }
    text += uri.host;
    if (!uri.port.empty()) {
        text += ":" + uri.port;
    }
    text += uri.path + uri.document;
    if (!uri.params.empty()) {
        text += "?" + uri.params;
    }
    if (!uri.bookmark.empty()) {
        text += "#" + uri.bookmark;
    }
    return text;
}

}  // namespace plintor
