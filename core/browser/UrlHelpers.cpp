#include "core/browser/UrlHelpers.h"

#include <algorithm>

#include "core/browser/Uri.h"
#include "core/support/StringHelpers.h"
#include "core/support/TextCase.h"

namespace plintor {

bool isLocalPath(std::string_view text) {
    const std::string path = asciiUpper(trim(text));
    return path.size() >= 3 && path[0] >= 'A' && path[0] <= 'Z' && path[1] == ':' &&
           path[2] == '\\';
}

bool isUrlSchemeCharacter(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '-' || c == '.';
}

bool isUrlScheme(std::string_view text) {
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    return !text.empty() && isLetter(text[0]) && std::all_of(text.begin(), text.end(), [](char c) {
        return isUrlSchemeCharacter(static_cast<unsigned char>(c));
    });
}

std::string decodePercentEscapes(std::string_view text, bool (*decodes)(char)) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigitValue(text[i + 1]) >= 0 &&
            hexDigitValue(text[i + 2]) >= 0) {
            const auto byte =
                static_cast<char>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2]));
            if (decodes(byte)) {
                decoded += byte;
                i += 2;
                continue;
            }
        }
        decoded += text[i];
    }
    return decoded;
}

bool isFileUrl(std::string_view text) {
    return startsWithNoCase(trim(text), "file:");
}

std::string stripUrlQuery(std::string_view text) {
    return std::string(text.substr(0, text.find('?')));
}

std::string stripTrailingSlash(std::string_view text) {
    return std::string(text.ends_with('/') ? text.substr(0, text.size() - 1) : text);
}

std::string stripUrlScheme(std::string_view text) {
    const std::size_t schemeEnd = text.find("://");
    return std::string(schemeEnd == std::string_view::npos ? text : text.substr(schemeEnd + 3));
}

std::string toForwardSlashes(std::string_view text) {
    std::string result(trim(text));
    for (char& c : result) {
        if (c == '\\') {
            c = '/';
        }
    }
    return result;
}

std::string toFileUrl(std::string_view text) {
    const std::string_view trimmed = trim(text);
    if (isLocalPath(trimmed)) {
        return "file:///" + toForwardSlashes(trimmed);
    }
    if (isFileUrl(trimmed)) {
        std::string path = toForwardSlashes(trim(stripUrlScheme(trimmed)));
        if (!path.starts_with('/')) {
            path.insert(0, "/");
        }
        return "file://" + path;
    }
    // An absolute path of this system's files (where paths have no drive letter).
    if (trimmed.starts_with('/') && !trimmed.starts_with("//")) {
        return "file://" + std::string(trimmed);
    }
    return std::string(trimmed);
}

std::string addressFromUserInput(std::string_view text) {
    const std::string_view trimmed = trim(text);
    if (trimmed.empty()) {
        return {};
    }
    const std::string file = toFileUrl(trimmed);
    if (file != trimmed) {
        return file;
    }
    // "host:8080/path" has no scheme: what follows the colon is a port.
    const std::size_t colon = trimmed.find(':');
    if (colon != std::string_view::npos && isUrlScheme(trimmed.substr(0, colon))) {
        const std::string_view rest = trimmed.substr(colon + 1);
        const std::size_t portEnd = rest.find_first_not_of("0123456789");
        const bool port =
            portEnd != 0 && (portEnd == std::string_view::npos || rest[portEnd] == '/');
        if (!port) {
            return std::string(trimmed);
        }
    }
    return "http://" + std::string(trimmed);
}

std::string extractUrlFileExt(std::string_view url) {
    const std::optional<Uri> uri = parseUri(toFileUrl(url));
    if (!uri) {
        return {};
    }
    const std::string_view document = trim(uri->document);
    const std::size_t dot = document.rfind('.');
    if (dot == std::string_view::npos ||
        document.find_first_of("\\:", dot) != std::string_view::npos) {
        return {};
    }
    return asciiLower(document.substr(dot));
}

bool isFragmentNavigation(std::string_view from, std::string_view to) {
    const std::size_t fragment = to.find('#');
    return fragment != std::string_view::npos && from != to &&
           from.substr(0, from.find('#')) == to.substr(0, fragment);
}

std::string addressForLog(std::string_view url) {
    const std::size_t schemeEnd = url.find("://");
    if (schemeEnd == std::string_view::npos) {
        return std::string(url);
    }
    const std::size_t hostStart = schemeEnd + 3;
    const std::size_t authorityEnd = std::min(url.find_first_of("/?#\\", hostStart), url.size());
    const std::size_t at = url.substr(0, authorityEnd).rfind('@');
    if (at == std::string_view::npos || at < hostStart) {
        return std::string(url);
    }
    const std::size_t colon = url.substr(0, at).find(':', hostStart);
    if (colon == std::string_view::npos) {
        return std::string(url);
    }
    return std::string(url.substr(0, colon)) + std::string(url.substr(at));
}

}  // namespace plintor
